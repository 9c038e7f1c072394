// The library's gradient painter: fills a line surface with a two-colour linear
// gradient at any angle, one colour per one-pixel line, and lists the colours
// between two colours. Internal to the library; the tab pictures use it.
#pragma once

#include <cstdint>
#include <vector>

namespace korva {

class LineSurface;

class clsm_BLEND {
public:
    // Degrees, counter-clockwise from the positive X axis with Y up on screen;
    // the colour runs from Color1 towards Color2 in that direction. Stored
    // brought into [0, 360); a value that is not a finite number is ignored.
    float Angle() const { return angle_; }
    void setAngle(float fData);

    // 0x00BBGGRR. A system colour (top bit set) with index 0..24 is replaced by
    // its current RGB at assignment; any other value is kept as given.
    int32_t Color1() const { return color1_; }
    void setColor1(int32_t lData);
    int32_t Color2() const { return color2_; }
    void setColor2(int32_t lData);

    // Fills laRetColors with max(lSteps, 2) colours from lColor1 towards lColor2
    // and returns that count. The spacing is (c2 - c1) / lSteps, so the entry
    // before the last stops one step short and the last jumps to lColor2; the
    // first and last entries are the arguments unchanged, top byte included.
    // Returns 0 and an empty list when the list cannot be allocated.
    static int32_t BlendColors(int32_t lColor1, int32_t lColor2, int32_t lSteps,
                               std::vector<int32_t>& laRetColors);

    // Paints the gradient over the whole client area of picObj. False, with
    // nothing drawn, when the surface cannot report its size or is smaller than
    // 2 x 2 pixels. Draw only draws: refreshing the surface is the caller's.
    bool Draw(LineSurface& picObj);

private:
    float angle_ = 315.0f;
    int32_t color1_ = 0x00FFFFD0;
    int32_t color2_ = 0x00400000;
};

} // namespace korva
