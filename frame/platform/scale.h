// The scale of a drawing area (the control's own window, a picture box):
// twips, turned into pixels with the screen's factors, or plain pixels.
#pragma once

#include <cstdint>

namespace korva {

enum class ScaleMode : int16_t { Twips = 1, Pixels = 3 };

double scaleToPixelsX(ScaleMode m, double v);
double scaleToPixelsY(ScaleMode m, double v);
double pixelsToScaleX(ScaleMode m, double px);
double pixelsToScaleY(ScaleMode m, double px);

} // namespace korva
