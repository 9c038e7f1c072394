// The three 90 x 50 pictures of the pane's design: normal, highlight and
// pressed. Drawn in code rather than shipped as files, so they are exact on
// every machine.
#pragma once

#include <QImage>

namespace korva::pane {

QImage normalPicture();
QImage highlightPicture();
// The normal picture upside down.
QImage pressedPicture();

} // namespace korva::pane
