// Site: the control's own window on its container. It keeps the control's
// extent in twips exactly as the host gave it (pixel sizes are derived), its
// scale, colours and enabled state, and turns Qt's lifecycle and focus events
// into the control's notifications. The focus notifications concern the
// control as a whole: EnterFocus and GotFocus when the focus comes in from
// outside, LostFocus and ExitFocus when it goes elsewhere; moves among the
// control's own windows (its site, the child elements' windows, a drop-down
// tool window) raise nothing, and so does the focus resting on no widget
// at all (the application switched away).
//
// Mouse input on the window itself (where no element lies, or all of it while
// the window holds the mouse capture) reaches the control's own handlers as
// the elements' input reaches theirs: MouseDown / MouseUp with the button that
// changed, MouseMove with the buttons held, in the control's scale; Click on
// a release over the window, DblClick on the second press of a double click.
#pragma once

#include "frame/platform/scale.h"
#include "frame/values/value.h"
#include "korvactl_export.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

namespace korva {

class Control;
class DrawnMouse;
enum class Notification;

class KORVA_EXPORT Site : public QWidget {
    Q_OBJECT
public:
    explicit Site(Control& owner);
    ~Site() override;

    Control& owner() const { return owner_; }

    // Outer size in twips, as last set by the host (or taken from the window
    // when Qt resized it on its own).
    float Width() const { return width_; }
    float Height() const { return height_; }
    void resizeTwips(float width, float height);

    // Inner drawing area in the control's scale.
    float ScaleWidth() const;
    float ScaleHeight() const;
    ScaleMode scaleMode() const { return scaleMode_; }
    void setScaleMode(ScaleMode m);

    // Conversions between the control's scale and device pixels.
    double toPixelsX(double v) const;
    double toPixelsY(double v) const;
    double fromPixelsX(double px) const;
    double fromPixelsY(double px) const;

    uint32_t BackColor() const { return backColor_; }
    void setBackColor(uint32_t c);
    uint32_t ForeColor() const { return foreColor_; }
    void setForeColor(uint32_t c);

    // The control's own Enabled (named apart from QWidget::setEnabled on purpose).
    bool Enabled() const { return enabled_; }
    void letEnabled(bool on);

    // Layouts keep the control at the extent the host gave it.
    QSize sizeHint() const override;

    quintptr hWnd() const { return reinterpret_cast<quintptr>(this); }

    const FontSpec& AmbientFont() const { return ambientFont_; }
    void setAmbientFont(const FontSpec& f);

    // True while the focus is on the control or one of its own windows.
    bool holdsFocus() const { return focusInside_; }
    // The control being torn down stops taking focus notifications.
    void stopFollowingFocus();
    // Tells every control that the system colours translate differently now.
    static void systemColoursChanged();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    bool holds(const QWidget* w) const;
    void deliverMouse(Notification n, const QMouseEvent& e);
    void deliverPlain(Notification n);
    static std::vector<Site*>& followingFocus();
    static void followFocus(QWidget* old, QWidget* now);
    static void settleFocus(const QWidget* now);

    Control& owner_;
    float width_ = 0;
    float height_ = 0;
    bool settingSize_ = false;
    ScaleMode scaleMode_ = ScaleMode::Twips;
    uint32_t backColor_ = 0x8000000Fu;
    uint32_t foreColor_ = 0x80000012u;
    bool enabled_ = true;
    FontSpec ambientFont_;
    bool focusInside_ = false;
    bool inDoubleClick_ = false;
    // Made on the first input: most windows never route any.
    std::unique_ptr<DrawnMouse> drawnMouse_;
    DrawnMouse& drawnMouse();
};

} // namespace korva
