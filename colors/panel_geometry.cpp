#include "colors/panel_geometry_p.h"

#include "frame/values/rounding_p.h"

#include <algorithm>
#include <cmath>

namespace korva {

PanelSize SizePanelFor(const PaletteModel& model, float tppX, float tppY) {
    const std::int32_t pitch = model.CellSize() + model.Gap();
    PanelSize s;
    if (model.HasShades()) {
        s.Width = tppX * static_cast<float>(pitch * (model.Columns() + model.ShadeColumns()) + 14);
        s.Height =
            tppY * static_cast<float>(pitch * std::max(model.Rows(), model.ShadeRows()) + 12 - model.Gap()) +
            100.0f;
        return s;
    }
    s.Width = tppX * static_cast<float>(pitch * model.Columns() + 12 - model.Gap()) + 52.0f;
    // The 632 twips below the grid hold the separator and the custom row.
    s.Height = tppY * static_cast<float>(pitch * model.Rows() + 12 - model.Gap()) + 32.0f + 600.0f;
    const float wpx = s.Width / tppX;
    const float hpx = s.Height / tppY;
    s.MovedRows = PanelSize::Rows{4.0f, hpx - kSepBarHeight - 25.0f, wpx - 8.0f,
                                  (wpx - kCustomRowWidth) * 0.5f, hpx - kCustomRowHeight - 10.0f};
    return s;
}

namespace {
float nearest(double v) { return static_cast<float>(roundHalfEven(v)); }
} // namespace

PopupPlace PlacePopup(const ScreenRectPx& r, float pw, float ph, float sw, float sh, float cw, float tppX,
                      float tppY, bool positionDefault) {
    // Both tests compare in single precision, as the sizes are Singles.
    float y = 0;
    if (sh / tppY < static_cast<float>(r.Bottom) + ph / tppY)
        y = nearest((static_cast<float>(r.Top) - ph / tppY) * tppY);
    else
        y = nearest(tppY * static_cast<float>(r.Bottom));

    float x = 0;
    if (pw / tppX < static_cast<float>(r.Right - r.Left)) {
        if (sw / tppX < static_cast<float>(r.Right))
            x = nearest(sw - pw);
        else
            x = nearest(static_cast<float>(r.Right) * tppX - pw);
    } else {
        x = nearest(static_cast<float>(r.Left) * tppX + cw - pw);
    }
    if (x + pw > sw)
        x = nearest(sw - pw);

    PopupPlace p;
    p.Top = y + 15.0f;
    p.Left = positionDefault ? x : x + pw - cw;
    return p;
}

ColorCell HitTestCell(const PaletteModel& model, double x, double y, std::int32_t clientWidth,
                      std::int32_t clientHeight) {
    const double rx = roundHalfEven(x);
    const double ry = roundHalfEven(y);
    // NaN and far-off points find nothing rather than overflow the conversion.
    if (!(rx >= 0 && rx < clientWidth && ry >= 0 && ry < clientHeight))
        return {};
    const auto px = static_cast<std::int32_t>(rx);
    const auto py = static_cast<std::int32_t>(ry);
    for (const ColorCell& c : model.MainGrid())
        if (c.Contains(px, py))
            return c;
    if (model.HasShades())
        for (const ColorCell& c : model.ShadeGrid())
            if (c.IsValid && c.Contains(px, py))
                return c;
    return {};
}

} // namespace korva
