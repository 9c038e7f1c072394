#include "frame/runtime/control.h"

#include "frame/platform/fonts_p.h"
#include "frame/runtime/element_p.h"
#include "frame/runtime/site.h"
#include "frame/values/convert_p.h"
#include "frame/values/guarded_p.h"

#include <algorithm>
#include <array>

namespace korva {

namespace {

constexpr std::array<std::pair<Notification, const char*>, 23> kNames = {{
    {Notification::Initialize, "Initialize"},
    {Notification::InitProperties, "InitProperties"},
    {Notification::ReadProperties, "ReadProperties"},
    {Notification::Resize, "Resize"},
    {Notification::Show, "Show"},
    {Notification::Paint, "Paint"},
    {Notification::GotFocus, "GotFocus"},
    {Notification::EnterFocus, "EnterFocus"},
    {Notification::ExitFocus, "ExitFocus"},
    {Notification::LostFocus, "LostFocus"},
    {Notification::WriteProperties, "WriteProperties"},
    {Notification::AmbientChanged, "AmbientChanged"},
    {Notification::Terminate, "Terminate"},
    {Notification::MouseDown, "MouseDown"},
    {Notification::MouseMove, "MouseMove"},
    {Notification::MouseUp, "MouseUp"},
    {Notification::Click, "Click"},
    {Notification::DblClick, "DblClick"},
    {Notification::KeyDown, "KeyDown"},
    {Notification::KeyUp, "KeyUp"},
    {Notification::KeyPress, "KeyPress"},
    {Notification::Timer, "Timer"},
    {Notification::Change, "Change"},
}};

template <class F> void guarded(F&& f) { runGuarded("a control handler", std::forward<F>(f)); }

} // namespace

bool parseNotification(QStringView name, Notification& out) {
    for (const auto& [n, text] : kNames)
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0) {
            out = n;
            return true;
        }
    return false;
}

QString notificationName(Notification n) {
    for (const auto& [k, text] : kNames)
        if (k == n)
            return QLatin1String(text);
    return {};
}

Control::Control(const ClassInfo& info) : info_(info), site_(new Site(*this)) {
    ensureFonts();
    site_->resizeTwips(static_cast<float>(info.designSize.width()),
                       static_cast<float>(info.designSize.height()));
}

Control::~Control() {
    sinks_.clear();
    if (site_)
        site_->stopFollowingFocus();
    // The class's handlers point into the part of the control already gone;
    // a window torn down below must not reach them.
    for (Element* e : elements_)
        e->clearHandlers();
    // Elements' windows are children of the site; delete elements first so
    // they do not outlive the windows they point at. Each leaves the list
    // before it goes, so that none going meets one already gone.
    while (!elements_.empty()) {
        Element* e = elements_.back();
        elements_.pop_back();
        delete e;
    }
    loaded_.clear();
    byName_.clear();
    delete site_.data();
}

QWidget* Control::widget() const { return site_.data(); }

void Control::Initialize() {
    guarded([&] { onInitialize(); });
    // The design's elements are all made by now: keep no room for more.
    elements_.shrink_to_fit();
    byName_.shrink_to_fit();
    drawn_.shrink_to_fit();
}
void Control::InitProperties() {
    guarded([&] { onInitProperties(); });
}
void Control::ReadProperties(const PropertyBag& bag) {
    guarded([&] { onReadProperties(bag); });
}
void Control::WriteProperties(PropertyBag& bag) {
    guarded([&] { onWriteProperties(bag); });
    changed_.clear();
}
void Control::Resize() {
    guarded([&] { onResize(); });
}
void Control::Show() {
    guarded([&] { onShow(); });
}
void Control::Paint() {
    guarded([&] { onPaint(); });
}
void Control::GotFocus() {
    guarded([&] { onGotFocus(); });
}
void Control::EnterFocus() {
    guarded([&] { onEnterFocus(); });
}
void Control::ExitFocus() {
    guarded([&] { onExitFocus(); });
}
void Control::LostFocus() {
    guarded([&] { onLostFocus(); });
}
void Control::AmbientChanged(const QString& name) {
    guarded([&] { onAmbientChanged(name); });
}
void Control::SystemColoursChanged() {
    guarded([&] { onSystemColoursChanged(); });
}
void Control::Terminate() {
    guarded([&] { onTerminate(); });
}

InvokeStatus Control::invoke(int32_t dispId, InvokeKind kind, std::vector<Value>& args, Value& result) {
    const MemberInfo* m = info_.memberById(dispId);
    if (!m)
        return InvokeStatus::UnknownMember;
    const uint8_t need = kind == InvokeKind::Get   ? kGet
                         : kind == InvokeKind::Let ? kLet
                         : kind == InvokeKind::Set ? kSet
                                                   : kCall;
    // A let of an object property is accepted as its set, as the runtime does for fonts.
    if (!(m->flags & need) && !(kind == InvokeKind::Let && (m->flags & kSet)))
        return InvokeStatus::NotSupported;
    InvokeStatus st = InvokeStatus::Ok;
    guarded([&] { st = onInvoke(*m, kind, args, result); });
    return st;
}

InvokeStatus Control::onInvoke(const MemberInfo&, InvokeKind, std::vector<Value>&, Value&) {
    return InvokeStatus::UnknownMember;
}

namespace {

// The order of Control::byName_: by name in any case, then by index.
int compareKey(QStringView name, int index, const Element* e) {
    if (const int c = name.compare(e->Name(), Qt::CaseInsensitive))
        return c;
    return index < e->Index() ? -1 : index > e->Index() ? 1 : 0;
}

template <class Sorted> auto firstOf(Sorted& sorted, QStringView name, int index) {
    return std::partition_point(sorted.begin(), sorted.end(),
                                [&](const Element* e) { return compareKey(name, index, e) > 0; });
}

} // namespace

Element* Control::element(QStringView name, int index) const {
    const auto it = firstOf(byName_, name, index);
    return it != byName_.end() && compareKey(name, index, *it) == 0 ? *it : nullptr;
}

bool Control::notify(QStringView elementName, int index, Notification n, std::vector<Value>& args,
                     QString* error) {
    if (!elementName.isEmpty()) {
        Element* e = element(elementName, index);
        if (!e) {
            if (error)
                *error =
                    index < 0
                        ? QStringLiteral("%1 has no element %2").arg(info_.name, elementName)
                        : QStringLiteral("%1 has no element %2(%3)").arg(info_.name, elementName).arg(index);
            return false;
        }
        bool ok = false;
        guarded([&] { ok = e->deliver(n, args, error); });
        return ok;
    }
    switch (n) {
    case Notification::Initialize:
        Initialize();
        return true;
    case Notification::InitProperties:
        InitProperties();
        return true;
    case Notification::Resize:
        Resize();
        return true;
    case Notification::Show:
        Show();
        return true;
    case Notification::Paint:
        Paint();
        return true;
    case Notification::GotFocus:
        GotFocus();
        return true;
    case Notification::EnterFocus:
        EnterFocus();
        return true;
    case Notification::ExitFocus:
        ExitFocus();
        return true;
    case Notification::LostFocus:
        LostFocus();
        return true;
    case Notification::Terminate:
        Terminate();
        return true;
    case Notification::AmbientChanged:
        AmbientChanged(QStringLiteral("Font"));
        return true;
    case Notification::ReadProperties:
    case Notification::WriteProperties:
        if (error)
            *error = QStringLiteral("%1 needs a property bag: use load and save").arg(notificationName(n));
        return false;
    default: {
        bool handled = false;
        guarded([&] { handled = onNotify(n, args); });
        if (!handled && error)
            *error = QStringLiteral("%1 does not handle %2 on itself").arg(info_.name, notificationName(n));
        return handled;
    }
    }
}

void Control::addSink(EventSink* sink) {
    if (sink && std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end())
        sinks_.push_back(sink);
}

void Control::removeSink(EventSink* sink) { std::erase(sinks_, sink); }

void Control::PropertyChanged(const QString& key) {
    if (!changed_.contains(key, Qt::CaseInsensitive))
        changed_.append(key);
    emit propertyChanged(key);
}

void Control::RaiseEvent(int32_t number, std::span<Value* const> args) {
    // A sink may detach itself (or another) while handling; walk a copy.
    const std::vector<EventSink*> sinks = sinks_;
    for (EventSink* s : sinks)
        guarded([&] { s->onEvent(*this, number, args); });
    emit eventRaised(number);
}

void Control::RaiseKeyEvent(int32_t number, int16_t& keyCode, int16_t& shift) {
    Value code(keyCode), sh(shift);
    Value* args[] = {&code, &sh};
    RaiseEvent(number, args);
    valueToInteger(code, keyCode);
    valueToInteger(sh, shift);
}

void Control::RaiseMouseEvent(int32_t number, int16_t& button, int16_t& shift, float& x, float& y,
                              Value* extra) {
    Value b(button), s(shift), vx(x), vy(y);
    Value* args[] = {&b, &s, &vx, &vy, extra};
    RaiseEvent(number, std::span<Value* const>(args, extra ? 5 : 4));
    valueToInteger(b, button);
    valueToInteger(s, shift);
    valueToSingle(vx, x);
    valueToSingle(vy, y);
}

void Control::adoptElement(Element* e) {
    elements_.push_back(e);
    // After its equals: the first element of a name and index is the one lookups find.
    const auto after = std::partition_point(byName_.begin(), byName_.end(), [&](const Element* other) {
        return compareKey(e->Name(), e->Index(), other) >= 0;
    });
    byName_.insert(after, e);
}

Element* Control::loadElement(QStringView name, int index) {
    constexpr int kHighestIndex = 32767;
    const Element* source = element(name, 0);
    if (!source || index < 1 || index > kHighestIndex || element(name, index))
        return nullptr;
    std::unique_ptr<Element> copy;
    guarded([&] { copy = source->cloneAs(*this, index); });
    if (!copy)
        return nullptr;
    Element* e = copy.release();
    e->setVisible(false);
    e->setContainer(source->Container());
    e->Move(source->Left(), source->Top(), source->Width(), source->Height());
    e->setEnabled(source->Enabled());
    e->shareHandlers(*source);
    e->ZOrder(0);
    adoptElement(e);
    loaded_.push_back(e);
    return e;
}

bool Control::unloadElement(QStringView name, int index) {
    Element* e = element(name, index);
    // Deleting an element from inside its own handler would pull it from
    // under the code that is running.
    // Arrays are emptied from their highest index down, so search from the end.
    const auto loadedAt = std::find(loaded_.rbegin(), loaded_.rend(), e);
    if (!e || loadedAt == loaded_.rend() || e->isNotifying())
        return false;
    loaded_.erase(std::next(loadedAt).base());
    const auto at = std::find(elements_.rbegin(), elements_.rend(), static_cast<Element*>(e));
    if (at != elements_.rend())
        elements_.erase(std::next(at).base());
    byName_.erase(std::find(firstOf(byName_, e->Name(), e->Index()), byName_.end(), e));
    delete e;
    return true;
}

} // namespace korva
