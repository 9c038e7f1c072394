// The nine look pictures and the page frame colours. Every picture is a
// vertical gradient finished with one-pixel outlines and single corner pixels
// mixed from the page and frame colours; the literal coordinates are twips,
// t is one pixel.
#include "blend/clsm_blend_p.h"
#include "frame/colour/colour_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/site.h"
#include "pages/pages_p.h"

namespace korva {

namespace {

constexpr uint32_t kBlack = 0;
constexpr uint32_t kHighlight = 0x80000014u;
constexpr uint32_t kButtonFace = 0x8000000Fu;

uint32_t B(uint32_t a, uint32_t b, int32_t w) { return static_cast<uint32_t>(BlendColor(a, b, w)); }

double pixel() { return Platform::instance().twipsPerPixelX(); }

void PaintGradient(PictureBoxElement* box, float angle, uint32_t c1, uint32_t c2) {
    clsm_BLEND blend;
    blend.setAngle(angle);
    blend.setColor1(static_cast<int32_t>(c1));
    blend.setColor2(static_cast<int32_t>(c2));
    blend.Draw(*box);
}

void line(PictureBoxElement* box, double x1, double y1, double x2, double y2) {
    box->Line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2));
}

void showBackingImage(PictureBoxElement* box) { box->setPicture(box->Image()); }

} // namespace

uint32_t PagesPrivate::backColour() const { return q.site() ? q.site()->BackColor() : colorForm; }

void PagesPrivate::Refresh() {
    pageFill = pageColor;
    shpBORDER->setBorderColor(B(B(kBlack, pageFill, 130), colorForm, 162));
    if (colorForm == 0)
        setColorFormMember(kButtonFace);
    if (q.site())
        q.site()->setBackColor(colorForm);
    shpTOP->setBorderColor(B(colorForm, B(pageFill, kBlack, 100), 244));
    shpTOP2->setBorderColor(B(colorForm, B(pageFill, kBlack, 100), 250));
    shpLEFTINSHL->setBorderColor(B(kHighlight, pageFill, 73));
    shpLEFTINS->setBorderColor(B(kHighlight, pageFill, 193));
    shpBORDER->setFillColor(pageColor);
    labelTemplate->setForeColor(textColor);
    setTabColorMember(QString::number(static_cast<int32_t>(shpBORDER->FillColor())));
    picTABCAP->setBackColor(colorForm);
    picTABLEFT->setBackColor(colorForm);
    picTABRIGHT->setBackColor(colorForm);
    ImageDis();
    ImageSel();
    ImageHLight();
    if (strip)
        strip->changedAll();
}

void PagesPrivate::ImageDis() {
    const double t = pixel();
    const uint32_t border = shpBORDER->BorderColor();
    const uint32_t back = backColour();
    picTABSELLEFT->setWidth(static_cast<float>(2 * t));
    picTABSELRIGHT->setWidth(static_cast<float>(2 * t));

    PaintGradient(picTABCAP, 270, B(colorForm, pageFill, 100),
                  B(colorForm, B(colorForm, B(pageFill, kBlack, 240), 10), 150));
    PaintGradient(picTABLEFT, 90, B(colorForm, pageFill, 122), B(B(pageFill, colorForm, 121), border, 210));
    PaintGradient(picTABRIGHT, 90, B(colorForm, pageFill, 122), B(B(pageFill, colorForm, 122), border, 210));

    const uint32_t outline = B(colorForm, border, 80);
    picTABCAP->setForeColor(outline);
    picTABLEFT->setForeColor(picTABCAP->ForeColor());
    picTABRIGHT->setForeColor(picTABCAP->ForeColor());
    line(picTABCAP, 0, 0, 3000, 0);
    line(picTABLEFT, 0, t, 0, 345);
    line(picTABLEFT, t, 0, 1000, 2 * t);
    picTABLEFT->setForeColor(B(border, back, 33));
    line(picTABLEFT, 0, 0, t, t);
    picTABLEFT->setForeColor(B(pageFill, border, 50));
    line(picTABLEFT, t, t, 2 * t, 2 * t);
    line(picTABRIGHT, t, t, t, 345);
    line(picTABRIGHT, 0, 0, 15, 0);
    picTABRIGHT->setForeColor(B(border, back, 13));
    line(picTABRIGHT, t, 0, 2 * t, t);
    picTABRIGHT->setForeColor(B(pageFill, border, 50));
    line(picTABRIGHT, 0, t, t, 2 * t);

    showBackingImage(picTABLEFT);
    showBackingImage(picTABCAP);
    showBackingImage(picTABRIGHT);
    // Every tab holding the normal look now holds yesterday's pictures.
    sweepAll_ = true;
}

namespace {

// The outline steps the hover and the selected looks share.
void outlineRaised(PictureBoxElement* capBox, PictureBoxElement* leftBox, PictureBoxElement* rightBox,
                   uint32_t outline, uint32_t border, uint32_t back, uint32_t pageFill) {
    const double t = pixel();
    capBox->setForeColor(outline);
    leftBox->setForeColor(capBox->ForeColor());
    rightBox->setForeColor(capBox->ForeColor());
    line(capBox, 0, 0, 3000, 0);
    line(leftBox, 0, t, 0, 345);
    line(leftBox, t, 0, 1000, 2 * t);
    leftBox->setForeColor(B(border, back, 33));
    line(leftBox, 0, 0, t, t);
    leftBox->setForeColor(B(pageFill, border, 120));
    line(leftBox, t, t, 2 * t, 2 * t);
    line(rightBox, t, t, t, 395);
    line(rightBox, 0, 0, t, 0);
    line(rightBox, 2 * t, 120, 6 * t, 285);
    rightBox->setForeColor(B(border, back, 43));
    line(rightBox, t, 0, 2 * t, t);
    rightBox->setForeColor(B(pageFill, border, 120));
    line(rightBox, 0, t, t, 2 * t);
}

} // namespace

void PagesPrivate::ImageHLight() {
    const double t = pixel();
    const uint32_t border = shpBORDER->BorderColor();
    const uint32_t page = shpBORDER->FillColor();
    const uint32_t back = backColour();
    picTABLEFTHOV->setWidth(static_cast<float>(2 * t));
    picTABRIGHTHOV->setWidth(static_cast<float>(4 * t));

    PaintGradient(picTABCAPHOV, 90, page, kHighlight);
    PaintGradient(picTABLEFTHOV, 90, B(colorForm, pageFill, 22),
                  B(B(kHighlight, B(pageFill, kBlack, 250), 121), border, 210));
    PaintGradient(picTABRIGHTHOV, 90, B(colorForm, pageFill, 22),
                  B(B(kHighlight, B(pageFill, kBlack, 250), 122), border, 210));

    outlineRaised(picTABCAPHOV, picTABLEFTHOV, picTABRIGHTHOV, B(colorForm, border, 80), border, back,
                  pageFill);
    picTABRIGHTHOV->setForeColor(back);
    line(picTABRIGHTHOV, 2 * t, t, 2 * t, 395);

    showBackingImage(picTABLEFTHOV);
    showBackingImage(picTABCAPHOV);
    showBackingImage(picTABRIGHTHOV);
}

void PagesPrivate::ImageSel() {
    const double t = pixel();
    const uint32_t border = shpBORDER->BorderColor();
    const uint32_t page = shpBORDER->FillColor();
    const uint32_t back = backColour();
    picTABSELLEFT->setWidth(static_cast<float>(2 * t));
    picTABSELRIGHT->setWidth(static_cast<float>(4 * t));

    PaintGradient(picTABSELCAP, 90, page, kHighlight);
    PaintGradient(picTABSELLEFT, 90, page, B(kHighlight, border, 220));
    PaintGradient(picTABSELRIGHT, 90, page, B(kHighlight, border, 220));

    outlineRaised(picTABSELCAP, picTABSELLEFT, picTABSELRIGHT, border, border, back, pageFill);
    picTABSELRIGHT->setForeColor(border);
    line(picTABSELRIGHT, t, 300, 2 * t, 300);
    picTABSELRIGHT->setForeColor(back);
    line(picTABSELRIGHT, 2 * t, t, 2 * t, 395);

    capTemplate->setPicture(picTABSELCAP->Image());
    leftTemplate->setPicture(picTABSELLEFT->Image());
    rightTemplate->setPicture(picTABSELRIGHT->Image());
}

} // namespace korva
