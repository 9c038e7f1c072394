// udnCTRL: the up/down component as one of Spin's elements. Spin reaches its
// members only by dispatch identifier, as it would a component it binds to
// late, so a component that is missing or refuses a call is one path among
// others: the call reports a status and Spin goes on.
//
// The element is a container: what lies inside it (Spin's text box and
// background band) is placed in twips relative to it, behind the buttons.
// Its notifications: onPressed when a button goes down, then onStepUp or
// onStepDown for that button, again for each repeat while it is held.
#pragma once

#include "frame/runtime/element_p.h"
#include "spin/updown_listener_p.h"

#include <functional>
#include <memory>
#include <vector>

namespace korva {

class TimerElement;
class UpDown;

class UpDownElement : public ContainerElement, private UpDownListener {
public:
    // The component's members, by dispatch identifier.
    static constexpr int32_t kThousandsSeparator = 0x68030027;
    static constexpr int32_t kSyncBuddy = 0x68030028;
    static constexpr int32_t kMin = 0x6803002B;
    static constexpr int32_t kMax = 0x6803002C;
    static constexpr int32_t kBuddyAlignment = 0x6803002F;
    static constexpr int32_t kAllowArrowKeys = 0x68030030;
    static constexpr int32_t kEnabled = static_cast<int32_t>(0x8001000Du);
    static constexpr int32_t kMove = static_cast<int32_t>(0x80011001u);
    static constexpr int32_t kRefresh = -550;

    UpDownElement(Control& owner, const QString& name);
    ~UpDownElement() override;

    UpDown* buttons() const;

    // Late-bound access. A let the component refuses (a value of the wrong
    // type, a buddy alignment it does not know) reports a status other than Ok
    // and changes nothing.
    InvokeStatus invoke(int32_t dispId, InvokeKind kind, std::vector<Value>& args, Value& result);

    std::function<void()> onPressed, onStepUp, onStepDown;
    void clearComponentHandlers();

    double toPixelsX(double v) const override;
    double toPixelsY(double v) const override;
    double fromPixelsX(double px) const override;
    double fromPixelsY(double px) const override;

    // MouseDown, MouseMove and MouseUp (positions in twips relative to the
    // component) press, track and release its buttons; KeyDown steps with the
    // arrow and page keys.
    bool deliver(Notification n, std::vector<Value>& args, QString* error) override;

protected:
    QPointF mouseScale(QPointF px) const override;

private:
    void pressed() override;
    void stepUp() override;
    void stepDown() override;
    void holdingChanged(bool held) override;
    void raise(const std::function<void()>& handler, const char* what);
    // Made at the first hold: most buttons are never held.
    std::unique_ptr<TimerElement> repeat_;
};

// How Spin obtains its component. A host that cannot provide one (and the
// tests of that path) installs a factory that returns nullptr; nullptr as the
// argument restores the built-in one. Returns the factory it replaced.
using UpDownFactory = std::unique_ptr<UpDownElement> (*)(Control& owner);
UpDownFactory setUpDownFactory(UpDownFactory f);
std::unique_ptr<UpDownElement> createUpDown(Control& owner);

} // namespace korva
