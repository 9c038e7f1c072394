#include "pages/tab_layout_p.h"

#include "frame/values/convert_p.h"

namespace korva::pages {

namespace {

// x = value, rounded half to even; left alone when it does not fit a Long.
void assign(int32_t& x, double value) {
    int32_t v = 0;
    if (toLong(value, v))
        x = v;
}

} // namespace

LayoutCursor firstTab(double p) {
    LayoutCursor c;
    assign(c.x, 8 * p);
    return c;
}

TabPlacement placeTab(LayoutCursor& c, const LayoutParams& params, const SpecialCaption& special,
                      const std::optional<LabelSize>& label) {
    const double p = params.p;
    if (special.help) {
        c.extra = kSpecialExtra;
        assign(c.x, static_cast<double>(params.width) - kHelpFromRight);
    }
    if (special.video) {
        c.extra = kSpecialExtra;
        assign(c.x, static_cast<double>(params.width) - kVideoFromRight);
    }
    if (special.chalkboard) {
        c.extra = kSpecialExtra;
        assign(c.x, static_cast<double>(c.x) + kChalkboardShift);
    }
    TabPlacement t;
    t.leftX = static_cast<float>(c.x);
    t.leftWidth = static_cast<float>(2 * p);
    assign(c.x, c.x + 2 * p);
    if (label) {
        t.labelX = static_cast<float>(c.x + 6 * p + c.extra);
        t.labelY = (kLabelBand - label->height) / 2;
        t.captionX = static_cast<float>(t.labelX - 6 * p - c.extra);
        t.captionWidth = static_cast<float>(static_cast<double>(label->width) + kCaptionMargin + c.extra);
        assign(c.x, static_cast<double>(label->width) + c.x + kCaptionMargin + c.extra);
    }
    t.rightX = static_cast<float>(c.x);
    assign(c.x, static_cast<double>(c.x) + params.tabGap);
    return t;
}

} // namespace korva::pages
