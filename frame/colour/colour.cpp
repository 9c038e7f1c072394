#include "frame/colour/colour_p.h"

#include "frame/platform/platform_p.h"
#include "frame/values/convert_p.h"

namespace korva {

int32_t TranslateColor(uint32_t colour, int32_t& palette) {
    switch (colour >> 24) {
    case 0x00:
        return static_cast<int32_t>(colour);
    case 0x02:
        return static_cast<int32_t>(colour & 0x00FFFFFFu); // palette-relative RGB
    case 0x01: {
        // A palette index needs a palette; without one there is nothing to look up.
        if (palette == 0)
            return -1;
        return -1;
    }
    case 0x80: {
        if (colour & 0x00FFFF00u)
            return -1;
        uint32_t out = 0;
        if (!Platform::instance().systemColour(static_cast<int>(colour & 0xFF), out))
            return -1;
        return static_cast<int32_t>(out & 0x00FFFFFFu);
    }
    default:
        return -1;
    }
}

int32_t TranslateColor(uint32_t colour) {
    int32_t none = 0;
    return TranslateColor(colour, none);
}

namespace {

// One channel of the mix. A step that overflows is skipped, as the runtime
// skips a failing statement, so the channel keeps its initial 0.
int16_t mixChannel(int32_t a, int32_t b, int32_t weight) {
    const int64_t p1 = static_cast<int64_t>(a) * weight;
    const int64_t p2 = static_cast<int64_t>(b) * (static_cast<int64_t>(255) - weight);
    if (!fitsLong(p1) || !fitsLong(p2))
        return 0;
    int16_t out = 0;
    toInteger(static_cast<double>(p1) / 255.0 + static_cast<double>(p2) / 255.0, out);
    return out;
}

} // namespace

int32_t BlendColor(uint32_t first, uint32_t second, int32_t weight) {
    const int32_t c1 = TranslateColor(first);
    const int32_t c2 = TranslateColor(second);
    // -1 has every bit set, so each channel of an untranslated colour reads 255.
    auto red = [](int32_t c) { return c & 0xFF; };
    auto green = [](int32_t c) { return (c & 0xFF00) / 256; };
    auto blue = [](int32_t c) { return (c & 0xFF0000) / 65536; };
    const int16_t b = mixChannel(blue(c1), blue(c2), weight);
    const int16_t g = mixChannel(green(c1), green(c2), weight);
    const int16_t r = mixChannel(red(c1), red(c2), weight);
    // Composition rejects a negative channel (the result then stays 0) and
    // limits a channel above 255 to 255.
    if (r < 0 || g < 0 || b < 0)
        return 0;
    auto lim = [](int16_t c) { return c > 255 ? 255 : static_cast<int32_t>(c); };
    return lim(r) + lim(g) * 256 + lim(b) * 65536;
}

} // namespace korva
