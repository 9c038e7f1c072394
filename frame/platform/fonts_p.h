// Font names the controls ask for, mapped to free fonts that stand in for
// them, so text renders alike on every machine.
#pragma once

#include "frame/values/value.h"

#include <QFont>

namespace korva {

// Loads the stand-in fonts and registers the name substitutions, once.
void ensureFonts();

// A Qt font for the host's font object.
QFont toQFont(const FontSpec& f);

} // namespace korva
