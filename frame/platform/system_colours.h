// System colours (OLE_COLOR values 0x800000xx, such as 0x8000000F button face)
// as the controls paint them: by default from the classic fixed table, so
// forms look the same everywhere; when asked, from the application's Qt
// palette, so a dark QPalette gives dark system colours. Colours given as
// plain RGB are never affected.
//
//   QApplication::setPalette(darkPalette);
//   korva::setSystemColoursFollowQtPalette(true);
#pragma once

#include "korvactl_export.h"

namespace korva {

KORVA_EXPORT void setSystemColoursFollowQtPalette(bool on);
KORVA_EXPORT bool systemColoursFollowQtPalette();

} // namespace korva
