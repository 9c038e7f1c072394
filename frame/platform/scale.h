// The scale of a drawing area (the control's own window, a picture box):
// twips, turned into pixels with the screen's factors, or plain pixels.
#pragma once

#include "korvactl_export.h"

#include <cstdint>

namespace korva {

enum class ScaleMode : int16_t { Twips = 1, Pixels = 3 };

KORVA_EXPORT double scaleToPixelsX(ScaleMode m, double v);
KORVA_EXPORT double scaleToPixelsY(ScaleMode m, double v);
KORVA_EXPORT double pixelsToScaleX(ScaleMode m, double px);
KORVA_EXPORT double pixelsToScaleY(ScaleMode m, double px);

} // namespace korva
