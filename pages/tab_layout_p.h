// Where the layout pass puts a tab's pieces, as plain arithmetic in twips:
// the caller measures the caption and moves the elements. Kept apart from the
// elements so the worked positions can be checked without a window.
//
// A tab that starts at x with a caption w twips wide (no special caption,
// p = 15, right piece 30 wide) takes: left piece x .. x + 30, caption piece
// x + 30 .. x + 300 + w, right piece from x + 300 + w, and the next tab starts
// at x + 300 + w + TabGap: the right piece's own width adds nothing, so with a
// TabGap of 0 it lies under the next tab's left piece.
#pragma once

#include "pages/tab_string_p.h"

#include <cstdint>
#include <optional>

namespace korva::pages {

inline constexpr float kPieceHeight = 345;   // all three pieces after a layout pass
inline constexpr float kCaptionMargin = 270; // added to the caption width
inline constexpr float kLabelBand = 375;     // the measuring label is centred in this band
inline constexpr int32_t kSpecialExtra = 90; // wider caption piece from a special caption on
inline constexpr int32_t kHelpFromRight = 1100;
inline constexpr int32_t kVideoFromRight = 2600;
inline constexpr int32_t kChalkboardShift = 800;

struct LayoutParams {
    double p = 15;      // horizontal twips per pixel
    int32_t width = 0;  // control width, whole twips
    int32_t tabGap = 0; // extra space after each tab
};

// Carried from one tab to the next within a pass. `extra` is never reset:
// once a special caption set it, every later tab keeps it.
struct LayoutCursor {
    int32_t x = 0;
    int32_t extra = 0;
};

struct TabPlacement {
    float leftX = 0;
    float leftWidth = 0;
    float labelX = 0;
    float labelY = 0;
    float captionX = 0;
    float captionWidth = 0;
    float rightX = 0;
};

// The cursor at the start of a pass: x = 8 pixels, rounded.
LayoutCursor firstTab(double p);

struct LabelSize {
    float width = 0;
    float height = 0;
};

// Places one tab and moves the cursor on. A step whose whole-number
// arithmetic leaves the 32-bit range is skipped, leaving x as it was; so is
// the advance past the caption when the tab has no label to measure.
TabPlacement placeTab(LayoutCursor& cursor, const LayoutParams& params, const SpecialCaption& special,
                      const std::optional<LabelSize>& label);

} // namespace korva::pages
