// Where Spin's elements go for a given size, in single precision, apart from
// any window so the positions can be checked exactly.
#pragma once

#include <optional>

namespace korva {

struct SpinBox4 {
    float left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const SpinBox4&, const SpinBox4&) = default;
};

struct SpinLayout {
    SpinBox4 frame;                 // txtBORDER, on the control
    SpinBox4 box;                   // picfraBOX, on the control
    std::optional<float> textWidth; // txtUPDOWN width; empty: keep the current one
    SpinBox4 updown;                // udnCTRL, in picfraBOX
    float textLeft = 0;             // txtUPDOWN, in udnCTRL
    SpinBox4 label;                 // lblBACK, in udnCTRL
    float textTop = 0;              // txtUPDOWN, in udnCTRL
};

// sw, sh: the control's inner size; h: its outer height; tp: twips per pixel.
SpinLayout computeSpinLayout(float sw, float sh, float h, float tp);

// The font size cboHEIGHT follows with: the text box's size as a whole number,
// a half rounded away from zero (8.25 -> 8, 9.5 -> 10).
double wholeFontSize(double points);

} // namespace korva
