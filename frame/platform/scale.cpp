#include "frame/platform/scale.h"

#include "frame/platform/platform_p.h"

namespace korva {

double scaleToPixelsX(ScaleMode m, double v) {
    return m == ScaleMode::Pixels ? v : v / Platform::instance().twipsPerPixelX();
}
double scaleToPixelsY(ScaleMode m, double v) {
    return m == ScaleMode::Pixels ? v : v / Platform::instance().twipsPerPixelY();
}
double pixelsToScaleX(ScaleMode m, double px) {
    return m == ScaleMode::Pixels ? px : px * Platform::instance().twipsPerPixelX();
}
double pixelsToScaleY(ScaleMode m, double px) {
    return m == ScaleMode::Pixels ? px : px * Platform::instance().twipsPerPixelY();
}

} // namespace korva
