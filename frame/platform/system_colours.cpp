#include "frame/platform/system_colours.h"

#include "frame/platform/platform_p.h"

namespace korva {

void setSystemColoursFollowQtPalette(bool on) { Platform::instance().setFollowQtPalette(on); }
bool systemColoursFollowQtPalette() { return Platform::instance().followsQtPalette(); }

} // namespace korva
