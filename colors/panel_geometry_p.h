// Geometry of the drop-down panel, free of windows: its size for a layout,
// where its separator and custom-colour row sit, where it opens on the
// screen, and which cell lies under a point. The control applies these
// numbers to its elements; tests check them without a display.
#pragma once

#include "colors/colorcell_p.h"
#include "colors/palette_model_p.h"

#include <cstdint>
#include <optional>

namespace korva {

// Design values of the panel's inner elements, in panel pixels.
inline constexpr float kSepBarHeight = 10.0f;
inline constexpr float kCustomRowWidth = 80.0f;
inline constexpr float kCustomRowHeight = 15.0f;

struct PanelSize {
    float Width = 0;  // twips
    float Height = 0; // twips
    // Positions of the separator bar and the custom row, in panel pixels. Only
    // the layouts without shades move them; the others leave them where they were.
    struct Rows {
        float SepLeft, SepTop, SepWidth, CustomLeft, CustomTop;
    };
    std::optional<Rows> MovedRows;
};

// SizePanel for the model's current layout at the given twips per pixel.
PanelSize SizePanelFor(const PaletteModel& model, float tppX, float tppY);

struct ScreenRectPx {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct PopupPlace {
    float Left = 0; // screen twips
    float Top = 0;
};

// Where the panel opens. `control` is the control's window on the screen in
// pixels; panel, screen and control widths in twips. Below the control unless
// that runs off the bottom of the screen, right edges aligned unless that runs
// off the right edge; `positionDefault` false aligns the left edges instead.
// A panel that would run off the left or top edge is not moved back.
PopupPlace PlacePopup(const ScreenRectPx& control, float panelWidth, float panelHeight, float screenWidth,
                      float screenHeight, float controlWidth, float tppX, float tppY, bool positionDefault);

// The cell under a panel point (rounded half to even), main grid first, or the
// empty cell for a point outside the client area or in a gap.
ColorCell HitTestCell(const PaletteModel& model, double x, double y, std::int32_t clientWidth,
                      std::int32_t clientHeight);

} // namespace korva
