// The three ways the gradient painter writes a row of RGB32 pixels: a copy of
// a stretch of the colour run, a stretch of one colour, and a run seen through
// a staircase (groups of eight pixels, each a rearranged window of eight
// consecutive colours). Writing the pixels is nearly all of a gradient's cost,
// so each has a version for the machine's widest registers, chosen once.
#pragma once

#include <QtGui/qrgb.h>

#include <cstddef>
#include <cstdint>

namespace korva::pixelrows {

// dst[i] = src[i] for i in [0, n). The two ranges do not overlap.
void copy(QRgb* dst, const QRgb* src, std::ptrdiff_t n);

// dst[i] = value for i in [0, n).
void fill(QRgb* dst, QRgb value, std::ptrdiff_t n);

// How far past the start of a row's window gather8() may read.
inline constexpr int kGatherReach = 16;

// A staircase over `rows` rows: on row r (at dst + r * dstStride, reading
// src + r * srcStep), for each group g, pixel 8g + i = src[offsets[g] +
// lanes[8g + i]], i in [0, 8), every lane in [0, 8). Reads whole windows: on
// each row, src[offsets[g] .. offsets[g] + kGatherReach - 1] must be readable.
// Several rows at once let each group's rearrangement be fetched once for
// all of them.
void gather8(QRgb* dst, std::ptrdiff_t dstStride, int rows, const QRgb* src, std::ptrdiff_t srcStep,
             const int32_t* offsets, const int32_t* lanes, std::size_t groups);

// Code that leaves the upper halves of the wide vector registers in use when
// it returns (Qt's own image fill among it) makes every later instruction on
// the narrow ones wait for them: the gradient's colour arithmetic then runs
// several times slower. Called before that arithmetic; nothing on machines
// without wide registers.
void releaseWideRegisters();

// The plain C++ versions in place of the machine-specific ones, so that tests
// can hold the two against each other on any machine. Not for concurrent use
// with painting.
void usePortableVersions(bool portable);

} // namespace korva::pixelrows
