// OLE_COLOR to QColor for painting, through TranslateColor so system colours
// follow the platform in force.
#pragma once

#include "frame/colour/colour_p.h"

#include <QColor>

namespace korva {

// `fallback` stands in for a colour that does not translate.
inline QColor toQColor(uint32_t colour, const QColor& fallback = Qt::black) {
    const int32_t v = TranslateColor(colour);
    if (v < 0)
        return fallback;
    const auto c = static_cast<uint32_t>(v);
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

} // namespace korva
