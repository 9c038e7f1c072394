// The drop-down panel: sizing, painting, placement, and the pointer and keys
// over it.
//
// Opening and closing, and who holds the mouse capture:
//   ShowPopUp        place, bring to front, capture for the panel, show, focus
//   click sequence   ShowPopUp or HidePopUp, then releases this control's capture
//   HidePopUp        releases the capture when the panel holds it, hands the
//                    focus back to the button, hides the panel,
//                    ButtonDown = false, FocusHidden (also when closed)
//
// The pointer over the open panel (left button = bit 1 of Button):
//   move      on a cell: with the left button, preview it (SetActive -> Change);
//             the hidden frame moves to it; with the left button on a main cell
//             of another hue (layouts with shades), rebuild and repaint the shades
//   press     releases the capture; on a cell: the move with the left button,
//             then SetActive again (no second Change); outside: HidePopUp; low in
//             the panel: the custom row (colour dialog, or HidePopUp near the edges)
//   release   HidePopUp; on a cell: HidePopUp again and choose it (Click when the
//             choice changed, then Change); in a gap: nothing more; outside:
//             Change with the chosen colour when the preview had moved away
//   key       MouseUp(1, 0, 0, 0), FocusLost; the panel stays open
//   focus out HidePopUp
#include "colors/colors_p.h"

#include "frame/colour/qt_colour_p.h"
#include "frame/elements/label_element_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/elements/shape_element_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/site.h"
#include "frame/timer/clsm_timer_p.h"
#include "frame/values/rounding_p.h"

#include <QPainter>

namespace korva {

namespace {
constexpr uint32_t kButtonFace = 0x8000000Fu;
constexpr uint32_t kButtonShadow = 0x80000010u;
constexpr uint32_t kButtonHighlight = 0x80000014u;

// One cell as a filled rectangle with an outline, right and bottom edges exclusive.
void drawCell(QPainter& p, int left, int top, int right, int bottom, const QColor& outline,
              const QColor& fill) {
    if (right <= left || bottom <= top)
        return;
    p.fillRect(QRect(left, top, right - left, bottom - top), outline);
    if (right - left > 2 && bottom - top > 2)
        p.fillRect(QRect(left + 1, top + 1, right - left - 2, bottom - top - 2), fill);
}

QColor plain(uint32_t rgb) { return QColor(redOf(rgb), greenOf(rgb), blueOf(rgb)); }
} // namespace

// --- size and painting ------------------------------------------------------------

void ColorsPrivate::SizePanel(const PaletteModel& m) {
    const Platform& p = Platform::instance();
    const auto tppX = static_cast<float>(p.twipsPerPixelX());
    const auto tppY = static_cast<float>(p.twipsPerPixelY());
    const PanelSize s = SizePanelFor(m, tppX, tppY);
    picDROPDOWNPANEL->setWidth(s.Width);
    picDROPDOWNPANEL->setHeight(s.Height);
    if (s.MovedRows) {
        picfraSEPBAR->setTop(s.MovedRows->SepTop);
        lblCUSTOM1->setTop(s.MovedRows->CustomTop);
        lblCUSTOM1->setLeft(s.MovedRows->CustomLeft);
        picfraSEPBAR->setLeft(s.MovedRows->SepLeft);
        picfraSEPBAR->setWidth(s.MovedRows->SepWidth);
        // Like the cells, the bar of a closed panel is drawn as it opens.
        if (panelVisible())
            drawSeparator();
        else
            separatorPending = true;
    }
    shpEDGE->setWidth(s.Width / tppX);
    shpEDGE->setHeight(s.Height / tppY);
    // A closed panel is painted as it opens; until then it holds no image of
    // its full size.
    if (panelVisible())
        paintCells();
}

// An etched line across the middle of the bar: shadow over highlight.
void ColorsPrivate::drawSeparator() {
    picfraSEPBAR->Cls();
    const float w = picfraSEPBAR->ScaleWidth();
    picfraSEPBAR->Line(0, 4, w, 4, kButtonShadow);
    picfraSEPBAR->Line(0, 5, w, 5, kButtonHighlight);
}

// Painting from the model: main cells with an outline one pixel outside
// them, blended from the button face and shadow; shade cells one pixel
// smaller with a button-face outline.
void ColorsPrivate::paintCells() {
    picDROPDOWNPANEL->Cls();
    QImage* image = picDROPDOWNPANEL->backingImage();
    if (image && !image->isNull()) {
        QPainter p(image);
        const QColor outline = plain(static_cast<uint32_t>(BlendColor(kButtonFace, kButtonShadow, 150)));
        for (const ColorCell& c : model.MainGrid())
            drawCell(p, c.Left - 1, c.Top - 1, c.Right + 1, c.Bottom + 1, outline, plain(c.Color));
    }
    paintShades();
    lblCUSTOM1->setBackColor(picDROPDOWNPANEL->BackColor());
}

void ColorsPrivate::paintShades() {
    if (!model.HasShades())
        return;
    QImage* image = picDROPDOWNPANEL->backingImage();
    if (image && !image->isNull()) {
        QPainter p(image);
        const QColor face = toQColor(kButtonFace);
        for (const ColorCell& c : model.ShadeGrid())
            drawCell(p, c.Left, c.Top, c.Right, c.Bottom, face, plain(c.Color));
    }
    picDROPDOWNPANEL->backingImageChanged();
}

// --- opening and closing ---------------------------------------------------------

bool ColorsPrivate::panelVisible() const { return picDROPDOWNPANEL && picDROPDOWNPANEL->Visible(); }

void ColorsPrivate::placePanel() {
    const Platform& p = Platform::instance();
    const auto tppX = static_cast<float>(p.twipsPerPixelX());
    const auto tppY = static_cast<float>(p.twipsPerPixelY());
    const WindowRect r = p.windowRect(q.site());
    const QRect screen = p.screenRect();
    const PopupPlace at =
        PlacePopup({r.left, r.top, r.right, r.bottom}, picDROPDOWNPANEL->Width(), picDROPDOWNPANEL->Height(),
                   static_cast<float>(screen.width()) * tppX, static_cast<float>(screen.height()) * tppY,
                   q.site()->Width(), tppX, tppY, positionDefault);
    picDROPDOWNPANEL->setTop(at.Top);
    picDROPDOWNPANEL->setLeft(at.Left);
}

void ColorsPrivate::showPopUp() {
    if (panelVisible())
        return;
    placePanel();
    // Front of the window order: a window shown afresh comes up in front of
    // the others, and raising it while hidden would do nothing, so showing it
    // below is what brings it there.
    Platform& platform = Platform::instance();
    QWidget* panel = picDROPDOWNPANEL->widget();
    platform.setCapture(panel);
    picDROPDOWNPANEL->setVisible(true);
    // A window system grabs the mouse only for a window it shows; take it
    // again now that the panel is up.
    if (platform.capture() == panel)
        platform.setCapture(panel);
    // The panel is its window's focus widget before the window turns active,
    // so the focus goes straight from the button to the panel.
    panel->setFocus(Qt::PopupFocusReason);
    platform.activateWindow(panel);
    panel->setFocus(Qt::PopupFocusReason);
    // The paint a newly shown window gets: every cell again.
    if (separatorPending) {
        separatorPending = false;
        drawSeparator();
    }
    paintCells();
    emit q.popupVisibleChanged();
}

void ColorsPrivate::hidePopUp() {
    if (panelVisible()) {
        Platform& platform = Platform::instance();
        if (platform.capture() == picDROPDOWNPANEL->widget())
            platform.releaseCapture();
        // The focus goes back to the button before the panel goes, as a
        // window system hands it back to the owner: a move within the
        // control, so no focus loss is reported on the way.
        hidingPanel = true;
        QWidget* panel = picDROPDOWNPANEL->widget();
        if (panel->isActiveWindow() && q.site()->isVisible()) {
            q.site()->setFocus(Qt::PopupFocusReason);
            platform.activateWindow(q.site()->window());
            q.site()->setFocus(Qt::PopupFocusReason);
        }
        picDROPDOWNPANEL->setVisible(false);
        hidingPanel = false;
        if (cls_TIMER)
            cls_TIMER->setEnabled(false);
        emit q.popupVisibleChanged();
    }
    buttonDown = false;
    raise(kEvFocusHidden);
}

void ColorsPrivate::releaseCapture() {
    Platform& platform = Platform::instance();
    QWidget* held = platform.capture();
    if (held && (held == q.site() || held == picDROPDOWNPANEL->widget() || q.site()->isAncestorOf(held)))
        platform.releaseCapture();
}

// --- selection --------------------------------------------------------------------

void ColorsPrivate::SetActive(const ColorCell& cell) {
    if (cell.Color == model.ActiveCell().Color)
        return;
    model.SetActiveCell(cell);
    report("ACTIVECOLOR");
    report("ACTIVETEXT");
    emit q.activeCellChanged();
    raiseColour(kEvChange, cell.Color);
}

void ColorsPrivate::SelectCell(const ColorCell& cell) {
    // Copied first: `cell` may be the selected cell itself.
    const ColorCell chosen = cell;
    const bool changed = chosen.Color != model.SelectedCell().Color;
    if (changed)
        model.SetSelectedCell(chosen);
    const bool differsFromActive = model.SelectedCell().Color != model.ActiveCell().Color;
    if (!changed && !differsFromActive)
        return;
    if (changed) {
        report("SELECTEDCOLOR");
        report("TEXT");
        const uint32_t selected = model.SelectedCell().Color;
        if (shpCOLOR->FillColor() != selected) {
            shpCOLOR->setFillColor(selected);
            color = selected;
        }
        emit q.colourChanged();
        raise(kEvClick);
    }
    raiseColour(kEvChange, chosen.Color);
}

// The dialog starts from the frame's back colour (the window background, never
// changed). A cancelled dialog ends the request silently: the chosen colour
// stays and no ChangeCustom is raised.
void ColorsPrivate::ChooseCustomColor() {
    hidePopUp();
    const int32_t start = TranslateColor(shpBORDER->BackColor());
    uint32_t picked = 0;
    if (!Platform::instance().chooseColour(q.site(), static_cast<uint32_t>(start < 0 ? 0xFFFFFF : start),
                                           picked))
        return;
    shpCOLOR->setFillColor(picked);
    color = picked;
    report("SELECTEDCOLOR");
    report("TEXT");
    emit q.colourChanged();
    raiseColour(kEvChangeCustom, picked);
}

// --- pointer and keys over the panel ------------------------------------------------

bool ColorsPrivate::insidePanelClient(float x, float y) const {
    const double rx = roundHalfEven(x);
    const double ry = roundHalfEven(y);
    const QWidget* w = picDROPDOWNPANEL->widget();
    return rx >= 0 && ry >= 0 && rx < w->width() && ry < w->height();
}

// Step 3 of a move: a main cell of another hue becomes the base of the shades.
void ColorsPrivate::followPointer(const ColorCell& cell, int16_t button) {
    if ((button & 1) && cell.IsMain && cell.Hue != model.BaseCell().Hue && model.HasShades()) {
        model.SetBaseCell(cell);
        model.BuildShadeGrid();
        paintShades();
    }
}

void ColorsPrivate::panelMouseMove(int16_t button, int16_t, float x, float y) {
    const QWidget* w = picDROPDOWNPANEL->widget();
    const ColorCell cell = HitTestCell(model, x, y, w->width(), w->height());
    if (!cell.IsValid)
        return;
    if (button & 1)
        SetActive(cell);
    // The frame stays hidden; it only follows the pointer.
    shpBORDER->setVisible(false);
    const auto side = static_cast<float>(model.CellSize() + 2);
    if (shpBORDER->Left() != static_cast<float>(cell.Left))
        shpBORDER->setLeft(static_cast<float>(cell.Left));
    if (shpBORDER->Top() != static_cast<float>(cell.Top))
        shpBORDER->setTop(static_cast<float>(cell.Top));
    if (shpBORDER->Width() != side)
        shpBORDER->setWidth(side);
    if (shpBORDER->Height() != side)
        shpBORDER->setHeight(side);
    followPointer(cell, button);
}

void ColorsPrivate::panelMouseDown(int16_t, int16_t shift, float x, float y) {
    if (Platform::instance().capture() == picDROPDOWNPANEL->widget())
        Platform::instance().releaseCapture();
    if (insidePanelClient(x, y)) {
        const QWidget* w = picDROPDOWNPANEL->widget();
        const ColorCell cell = HitTestCell(model, x, y, w->width(), w->height());
        if (cell.IsValid) {
            panelMouseMove(1, shift, x, y);
            SetActive(cell);
            followPointer(cell, 1);
        }
    } else {
        hidePopUp();
    }
    // The custom-colour row: the press opens the dialog unless it lies near an edge.
    const double rx = roundHalfEven(x);
    const double ry = roundHalfEven(y);
    if (ry > lblCUSTOM1->Top()) {
        if (ry + 10 > picDROPDOWNPANEL->ScaleHeight() || rx + 10 > picDROPDOWNPANEL->ScaleWidth() || rx < 10)
            hidePopUp();
        else
            ChooseCustomColor();
    }
}

void ColorsPrivate::panelMouseUp(int16_t, int16_t, float x, float y) {
    hidePopUp();
    if (insidePanelClient(x, y)) {
        const QWidget* w = picDROPDOWNPANEL->widget();
        const ColorCell cell = HitTestCell(model, x, y, w->width(), w->height());
        if (cell.IsValid) {
            hidePopUp();
            SelectCell(cell);
        }
    } else {
        SelectCell(model.SelectedCell());
    }
}

void ColorsPrivate::panelKeyPress() {
    buttonDown = false;
    raiseMouseCopy(kEvMouseUp, 1, 0, 0, 0);
    raise(kEvFocusLost);
}

// A panel already closed has nothing left to close: the focus-out a window
// system may still deliver for it after hiding it is not a second loss.
void ColorsPrivate::panelLostFocus() {
    if (hidingPanel || !panelVisible())
        return;
    hidePopUp();
}

} // namespace korva
