// The nine look pictures and the page frame colours. Every picture is a
// vertical gradient finished with one-pixel outlines and single corner pixels
// mixed from the page and frame colours; the literal coordinates are twips,
// t is one pixel.
#include "blend/clsm_blend_p.h"
#include "frame/colour/colour_p.h"
#include "frame/elements/paint_memo_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/site.h"
#include "pages/pages_p.h"

#include <cstring>
#include <vector>

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

// What a look's painting depends on, for the memo: which look, the pixel
// size, and every colour as given and as the palette translates it.
struct LookInputs {
    std::vector<uint64_t> values;
    LookInputs(int look, double t) {
        uint64_t bits = 0;
        static_assert(sizeof bits == sizeof t);
        std::memcpy(&bits, &t, sizeof bits);
        values = {static_cast<uint64_t>(look), bits};
    }
    LookInputs& operator<<(uint32_t colour) {
        values.push_back((static_cast<uint64_t>(colour) << 32) |
                         static_cast<uint32_t>(TranslateColor(colour)));
        return *this;
    }
};

// A 64-bit digest of what a refresh depends on: kept per control, so small.
class StampHash {
public:
    void push_back(uint64_t v) {
        v += 0x9E3779B97F4A7C15u;
        v = (v ^ (v >> 30)) * 0xBF58476D1CE4E5B9u;
        v = (v ^ (v >> 27)) * 0x94D049BB133111EBu;
        h_ = ((h_ ^ v ^ (v >> 31)) << 23 | (h_ ^ v ^ (v >> 31)) >> 41) * 0x9E3779B97F4A7C15u;
    }
    uint64_t value() const { return h_ | 1; } // never 0: 0 is "not refreshed yet"

private:
    uint64_t h_ = 0;
};

} // namespace

uint32_t PagesPrivate::backColour() const { return q.site() ? q.site()->BackColor() : colorForm; }

// A refresh from the same colours, size and screen onto elements that still
// hold what the last one left would paint the same pixels again: the look is
// set up many times over while a control is made and laid out. Such a
// refresh only shows the pictures anew, as snapshots of their own, since the
// tabs go by the pictures' handles (a tab given a new handle is laid out again).
uint64_t PagesPrivate::refreshStamp() const {
    StampHash s;
    const auto colour = [&](uint32_t c) {
        s.push_back((static_cast<uint64_t>(c) << 32) | static_cast<uint32_t>(TranslateColor(c)));
    };
    const auto real = [&](double v) {
        uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        s.push_back(bits);
    };
    real(pixel());
    real(Platform::instance().twipsPerPixelY());
    s.push_back(q.site() ? static_cast<uint64_t>(q.site()->scaleMode()) : 0);
    for (const uint32_t c :
         {pageColor, pageFill, colorForm, textColor, backColour(), kHighlight, kButtonFace})
        colour(c);
    s.push_back(strip ? 1 : 0);
    for (const pages::PageShape* shape : {shpBORDER, shpTOP, shpTOP2, shpLEFTINSHL, shpLEFTINS}) {
        colour(shape->BorderColor());
        colour(shape->FillColor());
    }
    colour(labelTemplate->ForeColor());
    s.push_back(static_cast<uint64_t>(qHash(tabColor)));
    for (const pages::TabPicture* t : {capTemplate, leftTemplate, rightTemplate}) {
        s.push_back(static_cast<uint64_t>(t->handle()));
        s.push_back(t->texts().size()); // a new picture wipes what was written on it
    }
    for (const PictureBoxElement* b : {picTABLEFT, picTABCAP, picTABRIGHT, picTABLEFTHOV, picTABCAPHOV,
                                       picTABRIGHTHOV, picTABSELLEFT, picTABSELCAP, picTABSELRIGHT}) {
        colour(b->BackColor());
        colour(b->ForeColor());
        real(b->CurrentX());
        real(b->CurrentY());
        real(b->Left());
        real(b->Top());
        real(b->Width());
        real(b->Height());
        s.push_back(static_cast<uint64_t>(b->scaleMode()));
        s.push_back(static_cast<uint64_t>(b->layerKey()));
        s.push_back(static_cast<uint64_t>(b->picture().handle()));
    }
    return s.value();
}

void PagesPrivate::Refresh() {
    if (refreshed_ != 0 && refreshStamp() == refreshed_) {
        showDis();
        showSel();
        showHLight();
        if (strip)
            strip->changedAll();
        refreshed_ = refreshStamp();
        return;
    }
    refreshed_ = 0;
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
    refreshed_ = refreshStamp();
}

void PagesPrivate::ImageDis() {
    const double t = pixel();
    const uint32_t border = shpBORDER->BorderColor();
    const uint32_t back = backColour();
    picTABSELLEFT->setWidth(static_cast<float>(2 * t));
    picTABSELRIGHT->setWidth(static_cast<float>(2 * t));

    const uint32_t cap1 = B(colorForm, pageFill, 100);
    const uint32_t cap2 = B(colorForm, B(colorForm, B(pageFill, kBlack, 240), 10), 150);
    const uint32_t side1 = B(colorForm, pageFill, 122);
    const uint32_t left2 = B(B(pageFill, colorForm, 121), border, 210);
    const uint32_t right2 = B(B(pageFill, colorForm, 122), border, 210);
    const uint32_t outline = B(colorForm, border, 80);
    const uint32_t leftCorner = B(border, back, 33);
    const uint32_t inner = B(pageFill, border, 50);
    const uint32_t rightCorner = B(border, back, 13);
    LookInputs in(0, t);
    in << cap1 << cap2 << side1 << left2 << right2 << outline << leftCorner << inner << rightCorner;
    PictureBoxElement* const boxes[] = {picTABCAP, picTABLEFT, picTABRIGHT};
    paintMemoised(boxes, in.values, [&] {
        PaintGradient(picTABCAP, 270, cap1, cap2);
        PaintGradient(picTABLEFT, 90, side1, left2);
        PaintGradient(picTABRIGHT, 90, side1, right2);

        picTABCAP->setForeColor(outline);
        picTABLEFT->setForeColor(picTABCAP->ForeColor());
        picTABRIGHT->setForeColor(picTABCAP->ForeColor());
        line(picTABCAP, 0, 0, 3000, 0);
        line(picTABLEFT, 0, t, 0, 345);
        line(picTABLEFT, t, 0, 1000, 2 * t);
        picTABLEFT->setForeColor(leftCorner);
        line(picTABLEFT, 0, 0, t, t);
        picTABLEFT->setForeColor(inner);
        line(picTABLEFT, t, t, 2 * t, 2 * t);
        line(picTABRIGHT, t, t, t, 345);
        line(picTABRIGHT, 0, 0, 15, 0);
        picTABRIGHT->setForeColor(rightCorner);
        line(picTABRIGHT, t, 0, 2 * t, t);
        picTABRIGHT->setForeColor(inner);
        line(picTABRIGHT, 0, t, t, 2 * t);
    });

    showDis();
}

// Each look's boxes show what was painted in them, as pictures of their own.
void PagesPrivate::showDis() {
    for (PictureBoxElement* box : {picTABLEFT, picTABCAP, picTABRIGHT})
        box->renewPicture();
    // Every tab holding the normal look now holds yesterday's pictures.
    sweepAll_ = true;
}

namespace {

// The outline steps the hover and the selected looks share, and their colours.
struct RaisedOutline {
    uint32_t outline, leftCorner, inner, rightCorner;
    RaisedOutline(uint32_t outlineColour, uint32_t border, uint32_t back, uint32_t pageFill)
        : outline(outlineColour), leftCorner(B(border, back, 33)), inner(B(pageFill, border, 120)),
          rightCorner(B(border, back, 43)) {}
    void addTo(LookInputs& in) const { in << outline << leftCorner << inner << rightCorner; }
};

void outlineRaised(PictureBoxElement* capBox, PictureBoxElement* leftBox, PictureBoxElement* rightBox,
                   const RaisedOutline& c) {
    const double t = pixel();
    capBox->setForeColor(c.outline);
    leftBox->setForeColor(capBox->ForeColor());
    rightBox->setForeColor(capBox->ForeColor());
    line(capBox, 0, 0, 3000, 0);
    line(leftBox, 0, t, 0, 345);
    line(leftBox, t, 0, 1000, 2 * t);
    leftBox->setForeColor(c.leftCorner);
    line(leftBox, 0, 0, t, t);
    leftBox->setForeColor(c.inner);
    line(leftBox, t, t, 2 * t, 2 * t);
    line(rightBox, t, t, t, 395);
    line(rightBox, 0, 0, t, 0);
    line(rightBox, 2 * t, 120, 6 * t, 285);
    rightBox->setForeColor(c.rightCorner);
    line(rightBox, t, 0, 2 * t, t);
    rightBox->setForeColor(c.inner);
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

    const uint32_t side1 = B(colorForm, pageFill, 22);
    const uint32_t left2 = B(B(kHighlight, B(pageFill, kBlack, 250), 121), border, 210);
    const uint32_t right2 = B(B(kHighlight, B(pageFill, kBlack, 250), 122), border, 210);
    const RaisedOutline raised(B(colorForm, border, 80), border, back, pageFill);
    LookInputs in(1, t);
    in << page << kHighlight << side1 << left2 << right2 << back;
    raised.addTo(in);
    PictureBoxElement* const boxes[] = {picTABCAPHOV, picTABLEFTHOV, picTABRIGHTHOV};
    paintMemoised(boxes, in.values, [&] {
        PaintGradient(picTABCAPHOV, 90, page, kHighlight);
        PaintGradient(picTABLEFTHOV, 90, side1, left2);
        PaintGradient(picTABRIGHTHOV, 90, side1, right2);
        outlineRaised(picTABCAPHOV, picTABLEFTHOV, picTABRIGHTHOV, raised);
        picTABRIGHTHOV->setForeColor(back);
        line(picTABRIGHTHOV, 2 * t, t, 2 * t, 395);
    });

    showHLight();
}

void PagesPrivate::showHLight() {
    for (PictureBoxElement* box : {picTABLEFTHOV, picTABCAPHOV, picTABRIGHTHOV})
        box->renewPicture();
}

void PagesPrivate::ImageSel() {
    const double t = pixel();
    const uint32_t border = shpBORDER->BorderColor();
    const uint32_t page = shpBORDER->FillColor();
    const uint32_t back = backColour();
    picTABSELLEFT->setWidth(static_cast<float>(2 * t));
    picTABSELRIGHT->setWidth(static_cast<float>(4 * t));

    const uint32_t side2 = B(kHighlight, border, 220);
    const RaisedOutline raised(border, border, back, pageFill);
    LookInputs in(2, t);
    in << page << kHighlight << side2 << border << back;
    raised.addTo(in);
    PictureBoxElement* const boxes[] = {picTABSELCAP, picTABSELLEFT, picTABSELRIGHT};
    paintMemoised(boxes, in.values, [&] {
        PaintGradient(picTABSELCAP, 90, page, kHighlight);
        PaintGradient(picTABSELLEFT, 90, page, side2);
        PaintGradient(picTABSELRIGHT, 90, page, side2);
        outlineRaised(picTABSELCAP, picTABSELLEFT, picTABSELRIGHT, raised);
        picTABSELRIGHT->setForeColor(border);
        line(picTABSELRIGHT, t, 300, 2 * t, 300);
        picTABSELRIGHT->setForeColor(back);
        line(picTABSELRIGHT, 2 * t, t, 2 * t, 395);
    });

    showSel();
}

// The selected look goes to the templates that selected tabs copy.
void PagesPrivate::showSel() {
    capTemplate->setPicture(picTABSELCAP->Image());
    leftTemplate->setPicture(picTABSELLEFT->Image());
    rightTemplate->setPicture(picTABSELRIGHT->Image());
}

} // namespace korva
