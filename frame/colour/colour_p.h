// Colour helpers shared by every control: OLE_COLOR to plain RGB, and mixing
// two colours by a weight.
#pragma once

#include "frame/values/ole_color.h"

#include <cstdint>

namespace korva {

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
