// UpDown: a pair of arrow buttons, up over down, that fit any size. It keeps
// no value of its own: it reports steps and whoever owns it changes a value.
//
//   auto* buttons = new korva::UpDown(parent);
//   buttons->setMax(99);
//   QObject::connect(buttons, &korva::UpDown::stepUp, [&] { ++value; });
//
// Pressing a button reports `pressed`, then one step at once; holding it
// repeats the step after a delay (see hold_repeat_p.h for the timing). The
// arrow and page keys step while AllowArrowKeys is on and the buttons have
// the focus. Other widgets may lie inside it (Spin puts its text there); the
// buttons always stay in front of them.
//
// The options, and what this component does with each:
//   Min, Max            32-bit bounds, kept for the owner (the buttons do not
//                       clamp anything); shown as the buttons' tool tip.
//   ThousandsSeparator  that tool tip groups digits ("1,000 to 5,000").
//   BuddyAlignment      0 none, 1 left, 2 right: the edge the buttons keep to
//                       (left for 1, right otherwise); other values are refused.
//   SyncBuddy           with a buddy widget set, enabling or disabling the
//                       buttons does the same to the buddy.
#pragma once

#include "korvactl_export.h"

#include <QWidget>

#include <cstdint>
#include <memory>

namespace korva {

class UpDownPrivate;

class KORVA_EXPORT UpDown : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE setMin NOTIFY MinChanged)
    Q_PROPERTY(int Max READ Max WRITE setMax NOTIFY MaxChanged)
    Q_PROPERTY(bool AllowArrowKeys READ AllowArrowKeys WRITE setAllowArrowKeys NOTIFY AllowArrowKeysChanged)
    Q_PROPERTY(bool SyncBuddy READ SyncBuddy WRITE setSyncBuddy NOTIFY SyncBuddyChanged)
    Q_PROPERTY(bool ThousandsSeparator READ ThousandsSeparator WRITE setThousandsSeparator NOTIFY
                   ThousandsSeparatorChanged)
    Q_PROPERTY(int BuddyAlignment READ BuddyAlignment WRITE setBuddyAlignment NOTIFY BuddyAlignmentChanged)
public:
    enum Alignment : int32_t { AlignNone = 0, AlignLeft = 1, AlignRight = 2 };
    // Which button lies under a point.
    enum Button { NoButton = 0, UpButton = 1, DownButton = 2 };

    explicit UpDown(QWidget* parent = nullptr);
    ~UpDown() override;

    int32_t Min() const;
    void setMin(int32_t v);
    int32_t Max() const;
    void setMax(int32_t v);
    bool AllowArrowKeys() const;
    void setAllowArrowKeys(bool on);
    bool SyncBuddy() const;
    void setSyncBuddy(bool on);
    bool ThousandsSeparator() const;
    void setThousandsSeparator(bool on);
    int32_t BuddyAlignment() const;
    // False, keeping the previous value, for a value outside 0..2.
    bool setBuddyAlignment(int32_t a);

    QWidget* buddy() const;
    void setBuddy(QWidget* w);

    // The buttons' rectangles in this widget's pixels, and hit-testing on them.
    QRect buttonRect(Button b) const;
    Button buttonAt(QPointF px) const;

    // Pointer input in this widget's pixels. Real mouse input arrives here;
    // an owner that delivers input itself (a script) calls these.
    void pressAt(QPointF px);
    void moveTo(QPointF px);
    void release();
    Button heldButton() const;
    // An arrow or page key; false when the key does nothing here.
    bool stepKey(int qtKey);

    // Hold-to-repeat runs on a timer of its own unless the owner keeps the clock: then
    // it calls repeatTick() every HoldRepeat::kTickMs while holdingChanged(true)
    // is in force.
    void setOwnerClock(bool on);
    void repeatTick();

signals:
    void pressed();
    void stepUp();
    void stepDown();
    void holdingChanged(bool held);
    void MinChanged();
    void MaxChanged();
    void AllowArrowKeysChanged();
    void SyncBuddyChanged();
    void ThousandsSeparatorChanged();
    void BuddyAlignmentChanged();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    bool event(QEvent* e) override;

private:
    std::unique_ptr<UpDownPrivate> d;
    friend class UpDownPrivate;
};

} // namespace korva
