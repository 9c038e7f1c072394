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

// The same designs drawn at any size, as the 90 x 50 picture stretched to
// that size would look if it had been drawn there: at 90 x 50 they give the
// pictures above exactly. High-density screens draw the pane from these.
QImage normalPictureAt(QSize pixels);
QImage highlightPictureAt(QSize pixels);
QImage pressedPictureAt(QSize pixels);

} // namespace korva::pane
