#include "spin/updown_element_p.h"

#include "frame/elements/timer_element_p.h"
#include "frame/platform/key_codes_p.h"
#include "frame/platform/scale.h"
#include "frame/values/convert_p.h"
#include "frame/values/guarded_p.h"
#include "spin/hold_repeat_p.h"
#include "spin/updown.h"

namespace korva {

namespace {

std::unique_ptr<UpDownElement> builtInUpDown(Control& owner) {
    return std::make_unique<UpDownElement>(owner, QStringLiteral("udnCTRL"));
}

UpDownFactory& factory() {
    static UpDownFactory f = &builtInUpDown;
    return f;
}

} // namespace

UpDownFactory setUpDownFactory(UpDownFactory f) {
    const UpDownFactory previous = factory();
    factory() = f ? f : &builtInUpDown;
    return previous;
}

std::unique_ptr<UpDownElement> createUpDown(Control& owner) {
    std::unique_ptr<UpDownElement> e;
    runGuarded("creating the up/down component", [&] { e = factory()(owner); });
    return e;
}

UpDownElement::UpDownElement(Control& owner, const QString& name) : ContainerElement(owner, name, -1, false) {
    // Made on the control's window: buttons made as a window of their own and
    // moved there keep what Qt set up for a window.
    auto* w = new UpDown(owner.site());
    // Repeats run on the owner's timer, so they follow the platform clock.
    w->setOwnerClock(true);
    setUpDownListener(*w, this);
    setWidget(w);
}

UpDownElement::~UpDownElement() {
    // The buttons outlive this part of the element (the base deletes them);
    // nothing they report may reach the repeat timer that goes first.
    if (UpDown* b = qobject_cast<UpDown*>(existingWidget()))
        setUpDownListener(*b, nullptr);
}

void UpDownElement::pressed() { raise(onPressed, "Pressed"); }
void UpDownElement::stepUp() { raise(onStepUp, "StepUp"); }
void UpDownElement::stepDown() { raise(onStepDown, "StepDown"); }

void UpDownElement::holdingChanged(bool held) {
    if (!repeat_) {
        if (!held)
            return;
        repeat_ = std::make_unique<TimerElement>(owner(), Name() + QStringLiteral("Repeat"));
        repeat_->setTimerEnabled(false);
        repeat_->setInterval(static_cast<int32_t>(HoldRepeat::kTickMs));
        repeat_->handlers().onTimer = [this] {
            if (UpDown* b = buttons())
                b->repeatTick();
        };
    }
    // Off first: a new press starts its delay from zero.
    repeat_->setTimerEnabled(false);
    repeat_->setTimerEnabled(held);
}

UpDown* UpDownElement::buttons() const { return qobject_cast<UpDown*>(widget()); }

void UpDownElement::clearComponentHandlers() { onPressed = onStepUp = onStepDown = nullptr; }

void UpDownElement::raise(const std::function<void()>& handler, const char* what) {
    if (!handler)
        return;
    const QByteArray label = (Name() + QLatin1Char(' ') + QLatin1String(what)).toUtf8();
    const std::function<void()> h = handler; // the handler may replace itself
    runGuarded(label.constData(), h);
}

double UpDownElement::toPixelsX(double v) const { return scaleToPixelsX(ScaleMode::Twips, v); }
double UpDownElement::toPixelsY(double v) const { return scaleToPixelsY(ScaleMode::Twips, v); }
double UpDownElement::fromPixelsX(double px) const { return pixelsToScaleX(ScaleMode::Twips, px); }
double UpDownElement::fromPixelsY(double px) const { return pixelsToScaleY(ScaleMode::Twips, px); }

QPointF UpDownElement::mouseScale(QPointF px) const { return {fromPixelsX(px.x()), fromPixelsY(px.y())}; }

InvokeStatus UpDownElement::invoke(int32_t dispId, InvokeKind kind, std::vector<Value>& args, Value& result) {
    UpDown* b = buttons();
    if (!b)
        return InvokeStatus::NotSupported;
    const bool get = kind == InvokeKind::Get;
    const bool let = kind == InvokeKind::Let;
    if ((let && args.size() != 1) || (get && !args.empty()))
        return InvokeStatus::BadParamCount;

    const auto boolMember = [&](bool (UpDown::*read)() const, void (UpDown::*write)(bool)) {
        if (get) {
            result = Value((b->*read)());
            return InvokeStatus::Ok;
        }
        bool v = false;
        if (!let)
            return InvokeStatus::NotSupported;
        if (!valueToBool(args[0], v))
            return InvokeStatus::TypeMismatch;
        (b->*write)(v);
        return InvokeStatus::Ok;
    };
    const auto longMember = [&](int32_t (UpDown::*read)() const, auto write) {
        if (get) {
            result = Value((b->*read)());
            return InvokeStatus::Ok;
        }
        int32_t v = 0;
        if (!let)
            return InvokeStatus::NotSupported;
        if (!valueToLong(args[0], v))
            return InvokeStatus::TypeMismatch;
        return write(v) ? InvokeStatus::Ok : InvokeStatus::NotSupported;
    };

    switch (dispId) {
    case kThousandsSeparator:
        return boolMember(&UpDown::ThousandsSeparator, &UpDown::setThousandsSeparator);
    case kSyncBuddy:
        return boolMember(&UpDown::SyncBuddy, &UpDown::setSyncBuddy);
    case kAllowArrowKeys:
        return boolMember(&UpDown::AllowArrowKeys, &UpDown::setAllowArrowKeys);
    case kMin:
        return longMember(&UpDown::Min, [&](int32_t v) {
            b->setMin(v);
            return true;
        });
    case kMax:
        return longMember(&UpDown::Max, [&](int32_t v) {
            b->setMax(v);
            return true;
        });
    case kBuddyAlignment:
        // A value outside the enumeration is refused, as the component's own let does.
        return longMember(&UpDown::BuddyAlignment, [&](int32_t v) { return b->setBuddyAlignment(v); });
    case kEnabled:
        if (get) {
            result = Value(Enabled());
            return InvokeStatus::Ok;
        } else {
            bool v = false;
            if (!let)
                return InvokeStatus::NotSupported;
            if (!valueToBool(args[0], v))
                return InvokeStatus::TypeMismatch;
            setEnabled(v);
            return InvokeStatus::Ok;
        }
    case kMove: {
        // Move(left, [top], [width], [height]): what is left out keeps its value.
        if (kind != InvokeKind::Call)
            return InvokeStatus::NotSupported;
        if (args.empty() || args.size() > 4)
            return InvokeStatus::BadParamCount;
        float v[4] = {Left(), Top(), Width(), Height()};
        for (size_t i = 0; i < args.size(); ++i)
            if (!valueToSingle(args[i], v[i]))
                return InvokeStatus::TypeMismatch;
        Move(v[0], v[1], v[2], v[3]);
        return InvokeStatus::Ok;
    }
    case kRefresh:
        if (kind != InvokeKind::Call)
            return InvokeStatus::NotSupported;
        b->update();
        return InvokeStatus::Ok;
    default:
        return InvokeStatus::UnknownMember;
    }
}

bool UpDownElement::deliver(Notification n, std::vector<Value>& args, QString* error) {
    UpDown* b = buttons();
    if (!b)
        return Element::deliver(n, args, error);
    switch (n) {
    case Notification::MouseDown:
    case Notification::MouseMove:
    case Notification::MouseUp: {
        int16_t button = 0;
        float x = 0, y = 0;
        if (args.size() != 4 || !valueToInteger(args[0], button) || !valueToSingle(args[2], x) ||
            !valueToSingle(args[3], y))
            return Element::deliver(n, args, error); // reports what does not fit
        const QPointF px(toPixelsX(x), toPixelsY(y));
        if (n == Notification::MouseDown && (button & 1))
            b->pressAt(px);
        else if (n == Notification::MouseMove)
            b->moveTo(px);
        else if (n == Notification::MouseUp && (button & 1))
            b->release();
        return true;
    }
    case Notification::KeyDown: {
        int16_t code = 0;
        if (args.size() != 2 || !valueToInteger(args[0], code))
            return Element::deliver(n, args, error);
        b->stepKey(qtKeyOf(code));
        return true;
    }
    default:
        return Element::deliver(n, args, error);
    }
}

} // namespace korva
