// The face of Colors: layout, themes, swatch, access key, pictures, and the
// mouse and keys on the button.
//
// Button input, as the handlers below run it:
//   press (button B)     LastButton = B; ButtonDown unless B is the right button; MouseDown
//   move                 hover tracking (UserControlMouseOut) unless ButtonDown; MouseMove
//   release              ButtonDown = false; MouseUp
//   click                the click sequence (also Page Down / Down, the access key,
//                        the release of Space)
//   double click         a press (1, 1, 1, 1) when LastButton is 1; DblClick
//   key down             Page Down / Down: click sequence; Escape: HidePopUp;
//                        KeyDown; Space: a press; Left / Up: focus to the previous control
//   key press            HidePopUp, no event
//   key up               SetTheme; Space after Space: a release, LastButton = 1, the
//                        click sequence; KeyUp
#include "colors/colors_p.h"

#include "frame/colour/colour_p.h"
#include "frame/elements/commandbutton_element_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/elements/shape_element_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/site.h"
#include "frame/values/rounding_p.h"

#include <QImage>
#include <QShortcut>

#include <algorithm>

namespace korva {

namespace {
constexpr uint32_t kButtonFace = 0x8000000Fu;
constexpr uint32_t kButtonShadow = 0x80000010u;
constexpr uint32_t kKeyColour = 0x00FF00FFu; // transparent pixels
constexpr uint32_t kShadowKey = 0x00808080u; // shadow pixels of the disabled picture
constexpr float kInset = 5;                  // swatch frame inset, pixels
} // namespace

QString AccessKeyOf(const QString& caption) {
    if (caption.size() < 2)
        return {};
    const qsizetype p = caption.indexOf(u'&');
    if (p < 0 || p == caption.size() - 1)
        return {};
    if (caption[p + 1] != u'&')
        return caption.mid(p + 1, 1).toLower();
    const qsizetype q = caption.indexOf(u'&', p + 2);
    if (q < 0 || q == caption.size() - 1 || caption[q + 1] == u'&')
        return {};
    return caption.mid(q + 1, 1).toLower();
}

void ColorsPrivate::layout() {
    const Site& s = *q.site();
    const float w = s.ScaleWidth();
    const float h = s.ScaleHeight();
    cmdMAINBTN->setWidth(w);
    cmdMAINBTN->setHeight(h);
    // A button smaller than twice the inset gets an empty swatch, not a negative one.
    picfraCOLOR->Move(kInset, kInset, w - kInset - kInset, h - kInset - kInset);
    shpCOLOR->Move(0, 0, picfraCOLOR->Width(), picfraCOLOR->Height());
    shpBORDERDIS->Move(0, 0, picfraCOLOR->Width(), picfraCOLOR->Height());
    picsepBAR->Move(picfraCOLOR->Left() + picfraCOLOR->Width() + 4, kInset, 1, shpCOLOR->Height() - 1);
    // The control's window never has a region of its own: it is all visible.
    q.site()->clearMask();
    buttonDown = false;
}

void ColorsPrivate::setTheme() {
    q.site()->setForeColor(systemColour(18));
    faceColour = backcolorCustom ? static_cast<uint32_t>(TranslateColor(kButtonFace)) : backColor;
    q.site()->setBackColor(faceColour);
    // The text colour of the window's drawing context would be set to black
    // here; the face draws no text, so there is nothing to keep it for.
    updateSwatch();
}

void ColorsPrivate::updateSwatch() {
    shpCOLOR->setVisible(showButtonColor && enabled);
    shpBORDERDIS->setVisible(showButtonColor && !enabled);
}

void ColorsPrivate::updatePictures() {
    picIMAGEBOX->setVisible(pictureVisible && enabled);
    fraIMAGEBOXDIS->setVisible(pictureVisible && !enabled);
    cmdMAINBTN->setEnabled(enabled);
    q.site()->letEnabled(enabled);
    layout();
}

void ColorsPrivate::setAccessKey() {
    accessKey = AccessKeyOf(caption);
    if (!accessShortcut)
        return;
    accessShortcut->setKey(accessKey.isEmpty() ? QKeySequence() : QKeySequence::mnemonic(u'&' + accessKey));
    accessShortcut->setEnabled(!accessKey.isEmpty());
}

void ColorsPrivate::letBackColor(uint32_t colour) {
    backColor = backcolorCustom ? static_cast<uint32_t>(TranslateColor(kButtonFace)) : colour;
    q.site()->setBackColor(backColor);
    fraIMAGEBOXDIS->setBackColor(backColor);
    cmdMAINBTN->setBackColor(backColor);
    setTheme();
    report("Backcolor");
    layout();
    emit q.lookChanged();
}

// --- clicks and hover -----------------------------------------------------------

void ColorsPrivate::clickSequence() {
    if (lastButton == 1 && enabled) {
        if (popupEnabled) {
            if (panelVisible())
                hidePopUp();
            else
                showPopUp();
        } else {
            if (panelVisible())
                hidePopUp();
            raise(kEvPopUp);
        }
        raise(kEvClick);
    }
    releaseCapture();
    q.setMousePosn(true);
    // The face is repainted once the sequence is through.
    q.site()->update();
}

void ColorsPrivate::buttonMouseDown(int16_t button, int16_t shift, float x, float y) {
    lastButton = button;
    buttonDown = button != 2;
    raiseMouse(kEvMouseDown, button, shift, x, y);
}

void ColorsPrivate::buttonMouseMove(int16_t button, int16_t shift, float x, float y) {
    if (!buttonDown)
        mouseOut(button, shift, x, y);
    raiseMouse(kEvMouseMove, button, shift, x, y);
}

void ColorsPrivate::buttonMouseUp(int16_t button, int16_t shift, float x, float y) {
    buttonDown = false;
    raiseMouse(kEvMouseUp, button, shift, x, y);
}

void ColorsPrivate::buttonDblClick() {
    if (lastButton == 1)
        buttonMouseDown(1, 1, 1.0f, 1.0f);
    raise(kEvDblClick);
}

void ColorsPrivate::mouseOut(int16_t& button, int16_t& shift, float& x, float& y) {
    const Site& s = *q.site();
    if (x < 0 || x > s.ScaleWidth() || y < 0 || y > s.ScaleHeight()) {
        q.setMousePosn(false);
        releaseCapture();
    } else {
        setTheme();
        // Held so that the move which leaves the control still arrives here.
        Platform::instance().setCapture(q.site());
        q.setMousePosn(true);
    }
    raiseMouse(kEvMouseOut, button, shift, x, y);
}

void ColorsPrivate::buttonKeyDown(int16_t& keyCode, int16_t& shift) {
    if ((keyCode == 34 || keyCode == 40) && shift == 0)
        clickSequence();
    else if (keyCode == 27)
        hidePopUp();
    raiseKey(kEvKeyDown, keyCode, shift);
    lastKeyDown = keyCode;
    if (keyCode == 32)
        buttonMouseDown(1, 1, 1.0f, 1.0f);
    else if (keyCode == 37 || keyCode == 38)
        Platform::instance().sendShiftTab(cmdMAINBTN->widget());
}

void ColorsPrivate::buttonKeyPress() { hidePopUp(); }

void ColorsPrivate::buttonKeyUp(int16_t& keyCode, int16_t& shift) {
    setTheme();
    if (keyCode == 32 && lastKeyDown == 32) {
        buttonMouseUp(1, 1, 1.0f, 1.0f);
        lastButton = 1;
        clickSequence();
    }
    raiseKey(kEvKeyUp, keyCode, shift);
}

// --- pictures -------------------------------------------------------------------

namespace {

// Sizes of the disabled picture's box in twips, by the enabled picture's width in pixels.
struct BoxSize {
    float w, h;
};
BoxSize disabledBoxFor(int enabledWidth, bool knowsEighteen) {
    if (enabledWidth == 11)
        return {410, 320};
    if (knowsEighteen && enabledWidth == 18)
        return {520, 300};
    return {480, 405};
}

} // namespace

void ColorsPrivate::setPicture(const Picture& p) {
    picIMAGEBOX->setPicture(p);
    // The box takes the picture's size.
    picIMAGEBOX->Move(8, 4, static_cast<float>(p.image.width()), static_cast<float>(p.image.height()));
    fraIMAGEBOXDIS->setHeight(picIMAGEBOX->Height() + 1);
    const BoxSize b = disabledBoxFor(static_cast<int>(picIMAGEBOX->Width()), true);
    picIMAGEBOXDIS->setWidth(b.w);
    picIMAGEBOXDIS->setHeight(b.h);
    recolour(*picIMAGEBOX, false);
    report("PICTURE");
    layout();
    emit q.lookChanged();
}

void ColorsPrivate::setPictureDisabled(const Picture& p) {
    picIMAGEBOXDIS->setPicture(p);
    const BoxSize b = disabledBoxFor(static_cast<int>(picIMAGEBOX->Width()), false);
    picIMAGEBOXDIS->setWidth(b.w);
    picIMAGEBOXDIS->setHeight(b.h);
    recolour(*picIMAGEBOXDIS, true);
    report("PICTUREDISABLED");
    layout();
    emit q.lookChanged();
}

// Replaces the key colours pixel by pixel, once, as the picture is set: a
// later change of the system colours leaves the picture as it is. Works on
// the box's drawing layer directly; the bounds are inclusive, and the row and
// column past the layer's edge read as no colour and stay as they are.
void ColorsPrivate::recolour(PictureBoxElement& box, bool disabledRule) {
    box.Cls();
    QImage* image = box.backingImage();
    if (!image || image->isNull())
        return;
    const auto face =
        static_cast<uint32_t>(disabledRule ? TranslateColor(systemColour(15)) : TranslateColor(kButtonFace));
    const auto shadow = static_cast<uint32_t>(TranslateColor(kButtonShadow));
    const int xs = static_cast<int>(roundHalfEven(box.ScaleWidth()));
    const int ys = static_cast<int>(roundHalfEven(box.ScaleHeight()));
    const int xEnd = std::min(xs, image->width() - 1);
    const int yEnd = std::min(ys, image->height() - 1);
    for (int y = 0; y <= yEnd; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image->scanLine(y));
        for (int x = 0; x <= xEnd; ++x) {
            uint32_t c = colourOfPixel(line[x]);
            if (c == kKeyColour) {
                c = face;
                line[x] = pixelOfColour(c);
            }
            if (disabledRule && c == kShadowKey)
                line[x] = pixelOfColour(shadow);
        }
    }
    box.backingImageChanged();
}

} // namespace korva
