// Control: the base of every control class. It owns the control's own window
// (its Site) and its child elements, receives the lifecycle notifications in
// the order the runtime delivers them, reports property changes and raises
// events by number to the attached sinks.
//
// The control object is a QObject, not a widget: its public members carry the
// control's own names (Enabled, Width, ...) without hiding QWidget's. Put the
// control on a form through widget().
//
// The Qt face of a control class (Pane shows it; every control follows it):
// - each public property of the dispatch interface is a Q_PROPERTY of the
//   same name: READ the getter named as the member, WRITE set<Member>, and
//   NOTIFY <Member>Changed(value) wherever the value can change (a let, a
//   saved setting read back, the user's input). The signal fires only when
//   the value really changed. A let-only member still gets a READ that
//   returns the value last given, since Qt needs one;
// - each method is a public Q_INVOKABLE function of the member's name;
// - each event is a signal of the event's name with the event's arguments,
//   emitted together with RaiseEvent, so QSignalSpy and connections see
//   exactly what the sinks see.
#pragma once

#include "frame/runtime/site.h"
#include "frame/values/class_info.h"
#include "frame/values/value.h"
#include "korvactl_export.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QWidget;

namespace korva {

class Element;
class PropertyBag;
class Site;

// Receives the events a control raises. Arguments are passed by reference: what
// the handler leaves in a by-reference argument is what the control uses.
class KORVA_EXPORT EventSink {
public:
    virtual ~EventSink() = default;
    virtual void onEvent(Control& source, int32_t number, std::span<Value* const> args) = 0;
};

enum class Notification {
    // lifecycle
    Initialize,
    InitProperties,
    ReadProperties,
    Resize,
    Show,
    Paint,
    GotFocus,
    EnterFocus,
    ExitFocus,
    LostFocus,
    WriteProperties,
    AmbientChanged,
    Terminate,
    // input
    MouseDown,
    MouseMove,
    MouseUp,
    Click,
    DblClick,
    KeyDown,
    KeyUp,
    KeyPress,
    Timer,
    Change,
};
KORVA_EXPORT bool parseNotification(QStringView name, Notification& out);
KORVA_EXPORT QString notificationName(Notification n);

enum class InvokeKind { Get, Let, Set, Call };
enum class InvokeStatus { Ok, UnknownMember, NotSupported, TypeMismatch, BadParamCount };

class KORVA_EXPORT Control : public QObject {
    Q_OBJECT
public:
    ~Control() override;

    const ClassInfo& classInfo() const { return info_; }
    Site* site() const { return site_.data(); }
    QWidget* widget() const;

    // Lifecycle, as the runtime delivers it. Each runs the class's handler;
    // none lets an exception out.
    void Initialize();
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag);
    void Resize();
    void Show();
    void Paint();
    void GotFocus();
    void EnterFocus();
    void ExitFocus();
    void LostFocus();
    void AmbientChanged(const QString& name);
    void Terminate();
    // The colours the system colours translate to changed (a new palette):
    // colours the control derived from them are derived again.
    void SystemColoursChanged();

    // Member access by dispatch identifier, with the argument conversions the
    // dispatch interface performs.
    InvokeStatus invoke(int32_t dispId, InvokeKind kind, std::vector<Value>& args, Value& result);

    // Child elements.
    Element* element(QStringView name, int index = -1) const;
    const std::vector<Element*>& elements() const { return elements_; }
    // The elements painted by the window they lie in, for those windows.
    const std::vector<Element*>& drawnElements() const { return drawn_; }

    // Element arrays. Element 0 of an array is its template; loading creates
    // element `index` as a copy of it (same kind, properties, geometry,
    // container and handlers), hidden and in front of its siblings. nullptr
    // when there is no template, the index is below 1, above 32767 or taken,
    // or the kind cannot be copied.
    Element* loadElement(QStringView name, int index);
    // Removes an element that loadElement created; false for the elements the
    // control was built with and for one whose handler is running.
    bool unloadElement(QStringView name, int index);
    // Delivers an input or lifecycle notification to the control itself
    // (element empty) or one of its elements, as the runtime would. Returns
    // false with a message when the target or the arguments do not fit.
    bool notify(QStringView element, int index, Notification n, std::vector<Value>& args, QString* error);

    void addSink(EventSink* sink);
    void removeSink(EventSink* sink);

    // Keys reported through PropertyChanged since the last save.
    const QStringList& changedKeys() const { return changed_; }

signals:
    void propertyChanged(const QString& key);
    // Every raised event, after the sinks ran.
    void eventRaised(int number);

protected:
    explicit Control(const ClassInfo& info);

    // Class handlers; the defaults do what the runtime does for an unhandled notification.
    virtual void onInitialize() {}
    virtual void onInitProperties() {}
    virtual void onReadProperties(const PropertyBag&) {}
    virtual void onWriteProperties(PropertyBag&) {}
    virtual void onResize() {}
    virtual void onShow() {}
    virtual void onPaint() {}
    virtual void onGotFocus() {}
    virtual void onEnterFocus() {}
    virtual void onExitFocus() {}
    virtual void onLostFocus() {}
    virtual void onAmbientChanged(const QString&) {}
    virtual void onTerminate() {}
    virtual void onSystemColoursChanged() {}
    // Input notifications of the control surface itself (Pages, Colors).
    virtual bool onNotify(Notification, std::vector<Value>&) { return false; }

    // Member access for invoke(); the class converts arguments itself.
    virtual InvokeStatus onInvoke(const MemberInfo& member, InvokeKind kind, std::vector<Value>& args,
                                  Value& result);

    void PropertyChanged(const QString& key);
    void RaiseEvent(int32_t number, std::span<Value* const> args = {});
    // The key and mouse events, whose arguments the handlers may change: what
    // the sinks leave in an argument (if it still converts) is written back, so
    // the class and its Qt signal go on with it. `extra` is one argument of the
    // class's own after Y; the class reads it back itself.
    void RaiseKeyEvent(int32_t number, int16_t& keyCode, int16_t& shift);
    void RaiseMouseEvent(int32_t number, int16_t& button, int16_t& shift, float& x, float& y,
                         Value* extra = nullptr);

    // Elements are created by the class from its design and owned here.
    template <class E, class... A> E* addElement(A&&... args) {
        auto* e = new E(std::forward<A>(args)...);
        adoptElement(e);
        return e;
    }
    void adoptElement(Element* e);

private:
    const ClassInfo& info_;
    // A container that adopted the window may delete it before the control.
    QPointer<Site> site_;
    std::vector<Element*> elements_;
    std::vector<const Element*> loaded_;
    // Element arrays may hold thousands of copies: lookups by name (any case)
    // and index must not walk the whole list. Sorted by both, and among equals
    // by adoption, so the first of a name and index is found first.
    std::vector<Element*> byName_;
    std::vector<Element*> drawn_;
    // Stacking keys handed out to elements: to the front, to the back.
    int32_t frontKey_ = 0;
    int32_t backKey_ = 0;
    std::vector<EventSink*> sinks_;
    QStringList changed_;
    friend class Element;
};

} // namespace korva
