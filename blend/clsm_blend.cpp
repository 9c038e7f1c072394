#include "blend/clsm_blend_p.h"

#include "blend/gradient_fill_p.h"
#include "blend/gradient_geometry_p.h"
#include "blend/pixel_rows_p.h"
#include "frame/elements/line_surface_p.h"
#include "frame/platform/platform_p.h"
#include "frame/values/convert_p.h"

#include <cmath>
#include <cstdint>
#include <new>

namespace korva {

namespace {

// Colour settings take a system colour's RGB at the moment they are set, so a
// later change of the system colours does not reach a painter already set up.
// Indices from 25 up are deliberately left as given, not looked up.
int32_t translatedSystemColour(int32_t value) {
    if (value >= 0)
        return value;
    const int32_t index = value & 0x7FFFFFFF;
    if (index > 24)
        return value;
    uint32_t rgb = 0;
    if (!Platform::instance().systemColour(index, rgb))
        return value;
    return static_cast<int32_t>(rgb);
}

// Entries 1 .. steps - 2 of the colour run. A plain counted loop over plain
// values, so that it vectorises, in the widest registers the machine has: a
// gradient over a large surface asks for thousands of colours.
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target_clones("avx512f", "avx2", "default")))
#endif
void blendBetween(int r1, int g1, int b1, float dR, float dG, float dB, int32_t* out, int32_t steps) {
    const double red = r1, green = g1, blue = b1;
    const double stepR = dR, stepG = dG, stepB = dB;
    for (int32_t i = 1; i <= steps - 2; ++i) {
        const double k = i;
        out[i] = static_cast<int32_t>(roundHalfEven(red + k * stepR)) +
                 static_cast<int32_t>(roundHalfEven(green + k * stepG)) * 256 +
                 static_cast<int32_t>(roundHalfEven(blue + k * stepB)) * 65536;
    }
}

} // namespace

void clsm_BLEND::setAngle(float fData) {
    if (!std::isfinite(fData))
        return;
    // fmod is exact, so this is fData - Int(fData / 360) * 360 without the
    // rounding that formula suffers for large values.
    double turned = std::fmod(static_cast<double>(fData), 360.0);
    if (turned < 0.0)
        turned += 360.0;
    const float stored = static_cast<float>(turned);
    // Just below a whole turn can round up to 360 in single precision.
    angle_ = stored >= 360.0f ? 0.0f : stored;
}

void clsm_BLEND::setColor1(int32_t lData) { color1_ = translatedSystemColour(lData); }

void clsm_BLEND::setColor2(int32_t lData) { color2_ = translatedSystemColour(lData); }

int32_t clsm_BLEND::BlendColors(int32_t lColor1, int32_t lColor2, int32_t lSteps,
                                std::vector<int32_t>& laRetColors) {
    const int32_t steps = lSteps < 2 ? 2 : lSteps;
    const int r1 = lColor1 & 0xFF, g1 = (lColor1 & 0xFF00) / 256, b1 = (lColor1 & 0xFF0000) / 65536;
    const int r2 = lColor2 & 0xFF, g2 = (lColor2 & 0xFF00) / 256, b2 = (lColor2 & 0xFF0000) / 65536;
    // The increments are single precision and divide by the count, not by the
    // count minus one; the tab pictures depend on the resulting shades.
    const float dR = static_cast<float>(static_cast<double>(r2 - r1) / steps);
    const float dG = static_cast<float>(static_cast<double>(g2 - g1) / steps);
    const float dB = static_cast<float>(static_cast<double>(b2 - b1) / steps);
    try {
        laRetColors.assign(static_cast<size_t>(steps), 0);
    } catch (const std::bad_alloc&) {
        laRetColors.clear();
        return 0;
    }
    laRetColors.front() = lColor1;
    laRetColors.back() = lColor2;
    blendBetween(r1, g1, b1, dR, dG, dB, laRetColors.data(), steps);
    return steps;
}

bool clsm_BLEND::Draw(LineSurface& picObj) {
    int width = 0;
    int height = 0;
    if (!picObj.clientSize(width, height) || width <= 1 || height <= 1)
        return false;
    // Only the point and colour lists are allocated; if either fails the
    // painting is abandoned before anything is drawn.
    pixelrows::releaseWideRegisters();
    try {
        const GradientLines lines = computeGradientLines(width, height, angle_);
        const int64_t count = lines.lineCount();
        if (count == 0 || count > INT32_MAX)
            return false;
        std::vector<int32_t> colours;
        const double half = static_cast<double>(lines.pointCount) * 0.5;
        BlendColors(color1_, color2_, static_cast<int32_t>(roundHalfEven(half)), colours);
        if (static_cast<int64_t>(colours.size()) < count)
            return false;

        QImage* image = picObj.backingImage();
        if (image && image->format() == QImage::Format_RGB32 && image->width() == width &&
            image->height() == height) {
            fillGradientLines(*image, lines, colours);
            picObj.backingImageChanged();
            return true;
        }
        for (int64_t k = 0; k < count; ++k) {
            const GradientPoint from = lines.point(2 * k);
            const GradientPoint to = lines.point(2 * k + 1);
            picObj.drawLine(from.x, from.y, to.x, to.y,
                            static_cast<uint32_t>(colours[static_cast<size_t>(k)]));
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace korva
