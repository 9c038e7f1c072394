// Pane: a clickable picture with a centred caption, used as a large graphical
// button. Hovering shows the highlight picture with a white caption and a hand
// cursor, pressing the pressed picture; a 100 ms leave check restores the
// normal look once the cursor is outside. Clicks on picture or caption raise
// Click.
//
//   auto pane = korva::Pane::createNew();          // Initialize + Resize
//   layout->addWidget(pane->widget());
//   pane->setTextCaption("Open");
//   QObject::connect(pane.get(), &korva::Pane::Click, [] { ... });
#pragma once

#include "frame/runtime/control.h"

#include <memory>

namespace korva {

class PanePrivate;

class KORVA_EXPORT Pane : public Control {
    Q_OBJECT
    // Enabled is let-only on the dispatch interface; Qt reads back the value last given.
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled NOTIFY EnabledChanged)
    Q_PROPERTY(QString TextCaption READ TextCaption WRITE setTextCaption NOTIFY TextCaptionChanged)
public:
    Pane();
    ~Pane() override;

    // A new instance as the runtime delivers one to a form: Initialize, then Resize.
    static std::unique_ptr<Pane> createNew();

    // The enabled flag: the value last given through setEnabled, or read from saved settings.
    bool Enabled() const;
    void setEnabled(bool v);
    QString TextCaption() const;
    void setTextCaption(const QString& sCaption);

    static const ClassInfo& staticClassInfo();

signals:
    void Click();
    void EnabledChanged(bool v);
    void TextCaptionChanged(const QString& sCaption);

protected:
    void onInitialize() override;
    void onReadProperties(const PropertyBag& bag) override;
    void onWriteProperties(PropertyBag& bag) override;
    void onResize() override;
    InvokeStatus onInvoke(const MemberInfo& m, InvokeKind kind, std::vector<Value>& args,
                          Value& result) override;

private:
    std::unique_ptr<PanePrivate> d;
    friend class PanePrivate;
};

} // namespace korva
