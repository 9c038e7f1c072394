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
    // Below 2^52 a double truncates exactly through int64; that floor is an
    // instruction where std::floor may be a library call, and gradients
    // round thousands of channels per picture.
    double lower = 0;
    if (std::fabs(x) < 0x1p52) {
        const auto t = static_cast<double>(static_cast<long long>(x));
        lower = t > x ? t - 1.0 : t;
    } else {
        lower = std::floor(x);
    }
    const double diff = x - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

} // namespace korva
