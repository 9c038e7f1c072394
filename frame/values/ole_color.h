// OLE_COLOR: a 32-bit colour, 0x00BBGGRR, or a system colour index with the
// top bit set. Packing and unpacking only; translation lives in colour/.
#pragma once

#include <cstdint>

namespace korva {

constexpr uint32_t kSystemColourFlag = 0x80000000u;

constexpr uint32_t rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r & 0xFF) | (static_cast<uint32_t>(g & 0xFF) << 8) |
           (static_cast<uint32_t>(b & 0xFF) << 16);
}
constexpr int redOf(uint32_t c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }

} // namespace korva
