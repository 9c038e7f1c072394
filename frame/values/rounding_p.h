// Round half to even: how the runtime turns a Double into a whole number. The
// one definition for the whole library; plain C++ so that the window-free
// palette model uses it too.
#pragma once

#include <cfloat>
#include <cmath>

namespace korva {

// Nearest integer, ties to the even neighbour. NaN and infinities come back unchanged.
inline double roundHalfEven(double x) {
#if FLT_EVAL_METHOD == 0
    // Adding 2^52 leaves no room for a fraction, so the sum is rounded by the
    // processor's own rule, which is to the nearest, ties to even; taking 2^52
    // away again is exact. No branch on the fraction: gradients round thousands
    // of channels per picture. From 2^52 up every double is whole already.
    const double shift = std::copysign(0x1p52, x);
    const double rounded = (x + shift) - shift;
    return std::fabs(x) < 0x1p52 ? rounded : x;
#else
    return std::nearbyint(x);
#endif
}

} // namespace korva
