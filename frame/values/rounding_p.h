// Round half to even: how the runtime turns a Double into a whole number. The
// one definition for the whole library; plain C++ so that the window-free
// palette model uses it too.
#pragma once

#include <cmath>

namespace korva {

// Nearest integer, ties to the even neighbour. NaN and infinities come back unchanged.
inline double roundHalfEven(double x) {
    if (!std::isfinite(x))
        return x;
    const double lower = std::floor(x);
    const double diff = x - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

} // namespace korva
