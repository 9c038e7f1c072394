#include "spin/spin_layout_p.h"

#include "frame/values/convert_p.h"

namespace korva {

namespace {
// The strip kept free right of the text for the buttons, the text line height
// assumed when centring it, and the height of the background band.
constexpr float kButtonStrip = 360.0f;
constexpr float kTextLine = 250.0f;
constexpr float kBandHeight = 285.0f;
} // namespace

SpinLayout computeSpinLayout(float sw, float sh, float h, float tp) {
    SpinLayout l;
    l.frame = {0, 0, sw, sh};
    l.box = {2 * tp, 2 * tp, sw - 4 * tp, sh - 4 * tp};
    // Too narrow for the strip: the text box keeps the width it had.
    const float textWidth = sw - kButtonStrip;
    if (textWidth > 0)
        l.textWidth = textWidth;
    l.updown = {2 * tp, 0, sw - 6 * tp, sh - 4 * tp};
    l.textLeft = 0;
    // As wide as the control: the up/down component clips it.
    l.label = {0, 0, sw, kBandHeight};
    l.textTop = (h - kTextLine) * 0.5f;
    return l;
}

double wholeFontSize(double points) {
    double size = points;
    textToNumber(formatWhole(points), size);
    return size;
}

} // namespace korva
