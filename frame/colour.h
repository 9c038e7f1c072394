// Colour helpers shared by every control: OLE_COLOR to plain RGB, and mixing
// two colours by a weight.
#pragma once

#include <cstdint>

namespace korva {

constexpr uint32_t kSystemColourFlag = 0x80000000u;

constexpr uint32_t rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r & 0xFF) | (static_cast<uint32_t>(g & 0xFF) << 8) |
           (static_cast<uint32_t>(b & 0xFF) << 16);
}
constexpr int redOf(uint32_t c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }

// Plain RGB (0x00BBGGRR) of any OLE_COLOR, or -1 when it names no colour
// (an unknown system colour, a palette entry with no palette). `palette` is a
// palette handle; 0 means none, the only value the controls pass.
int32_t TranslateColor(uint32_t colour, int32_t& palette);
int32_t TranslateColor(uint32_t colour);

// Channel-wise mix: `weight`/255 of the first colour and the rest of the second,
// each channel rounded half to even. A colour that does not translate mixes as
// white. A weight outside 0..255 is not checked.
int32_t BlendColor(uint32_t first, uint32_t second, int32_t weight);

} // namespace korva
