// Writes the lines of a gradient straight into an RGB32 image, with exactly the
// pixels that drawing each line through rasterLine() in order would leave.
#pragma once

#include "blend/gradient_geometry_p.h"

#include <QImage>

#include <cstdint>
#include <vector>

namespace korva {

// Paints lines.lineCount() lines, line k in colours[k] (0x00BBGGRR). Does
// nothing when the image is not Format_RGB32 or there are fewer colours than
// lines.
void fillGradientLines(QImage& image, const GradientLines& lines, const std::vector<int32_t>& colours);

} // namespace korva
