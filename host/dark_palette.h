// korvahost --dark: the application under a dark QPalette, with the
// library's system colours following it. This is the way to run korvactl
// under a dark theme (see docs/embedding.md).
#pragma once

#include <QPalette>

namespace korva::host {

class KorvaLibrary;

// A dark palette with readable text and visible frames in every role the
// system colours map to.
QPalette darkPalette();
// Installs darkPalette() for the application and makes the library follow it.
void useDarkPalette(KorvaLibrary& library);

} // namespace korva::host
