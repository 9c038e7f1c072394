#include "blend/pixel_rows_p.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#if defined(__x86_64__) && defined(__GNUC__)
#define KORVA_PIXEL_ROWS_AVX2 1
#include <immintrin.h>
#endif

namespace korva::pixelrows {

namespace {

void copyPortable(QRgb* dst, const QRgb* src, std::ptrdiff_t n) {
    if (n > 0)
        std::memcpy(dst, src, static_cast<std::size_t>(n) * sizeof(QRgb));
}

// A plain loop over 32-bit pixels stays scalar at -O2; the C library's
// wide-character fill is the same fill, vectorised for the machine.
void fillPortable(QRgb* dst, QRgb value, std::ptrdiff_t n) {
    if (n <= 0)
        return;
    if constexpr (sizeof(wchar_t) == sizeof(QRgb)) {
        wchar_t w;
        std::memcpy(&w, &value, sizeof w);
        std::wmemset(reinterpret_cast<wchar_t*>(dst), w, static_cast<std::size_t>(n));
    } else {
        std::fill(dst, dst + n, value);
    }
}

void gather8Portable(QRgb* dst, std::ptrdiff_t dstStride, int rows, const QRgb* src, std::ptrdiff_t srcStep,
                     const int32_t* offsets, const int32_t* lanes, std::size_t groups) {
    for (int r = 0; r < rows; ++r, dst += dstStride, src += srcStep)
        for (std::size_t g = 0; g < groups; ++g)
            for (std::size_t i = 0; i < 8; ++i)
                dst[8 * g + i] = src[offsets[g] + lanes[8 * g + i]];
}

#if defined(KORVA_PIXEL_ROWS_AVX2)
__attribute__((target("avx2"))) inline __m256i load(const QRgb* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

__attribute__((target("avx2"))) inline void store(QRgb* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// A row is written with one 32-byte store per eight pixels, aligned after the
// first eight: the destination is the image, far larger than the caches, and
// stores that straddle cache lines cost a copy about a third of its speed.
// Rows shorter than eight go pixel by pixel.
__attribute__((target("avx2"))) void copyAvx2(QRgb* dst, const QRgb* src, std::ptrdiff_t n) {
    if (n < 8) {
        for (std::ptrdiff_t i = 0; i < n; ++i)
            dst[i] = src[i];
        return;
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), load(src));
    std::ptrdiff_t i = 8 - static_cast<std::ptrdiff_t>((reinterpret_cast<std::uintptr_t>(dst) >> 2) & 7);
    for (; i + 32 <= n; i += 32) {
        const __m256i a = load(src + i);
        const __m256i b = load(src + i + 8);
        const __m256i c = load(src + i + 16);
        const __m256i d = load(src + i + 24);
        _mm256_store_si256(reinterpret_cast<__m256i*>(dst + i), a);
        _mm256_store_si256(reinterpret_cast<__m256i*>(dst + i + 8), b);
        _mm256_store_si256(reinterpret_cast<__m256i*>(dst + i + 16), c);
        _mm256_store_si256(reinterpret_cast<__m256i*>(dst + i + 24), d);
    }
    for (; i + 8 <= n; i += 8)
        _mm256_store_si256(reinterpret_cast<__m256i*>(dst + i), load(src + i));
    if (i < n)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + n - 8), load(src + n - 8));
}

__attribute__((target("avx2"))) void fillAvx2(QRgb* dst, QRgb value, std::ptrdiff_t n) {
    if (n < 8) {
        for (std::ptrdiff_t i = 0; i < n; ++i)
            dst[i] = value;
        return;
    }
    const __m256i v = _mm256_set1_epi32(static_cast<int>(value));
    store(dst, v);
    std::ptrdiff_t i = 8 - static_cast<std::ptrdiff_t>((reinterpret_cast<std::uintptr_t>(dst) >> 2) & 7);
    // Four stores a turn: a loop of one store runs at half speed whenever
    // its few instructions happen to straddle a fetch block.
    for (; i + 32 <= n; i += 32) {
        _mm256_store_si256(reinterpret_cast<__m256i*>(dst + i), v);
        _mm256_store_si256(reinterpret_cast<__m256i*>(dst + i + 8), v);
        _mm256_store_si256(reinterpret_cast<__m256i*>(dst + i + 16), v);
        _mm256_store_si256(reinterpret_cast<__m256i*>(dst + i + 24), v);
    }
    for (; i + 8 <= n; i += 8)
        _mm256_store_si256(reinterpret_cast<__m256i*>(dst + i), v);
    if (i < n)
        store(dst + n - 8, v);
}

template <int Rows>
__attribute__((target("avx2"))) inline void
gatherBlockAvx2(QRgb* dst, std::ptrdiff_t dstStride, const QRgb* src, std::ptrdiff_t srcStep,
                const int32_t* offsets, const int32_t* lanes, std::size_t groups) {
    std::size_t g = 0;
    // Two groups are a whole cache line of each row.
    for (; g + 2 <= groups; g += 2) {
        const __m256i order0 = load(reinterpret_cast<const QRgb*>(lanes + 8 * g));
        const __m256i order1 = load(reinterpret_cast<const QRgb*>(lanes + 8 * g + 8));
        const QRgb* from0 = src + offsets[g];
        const QRgb* from1 = src + offsets[g + 1];
        QRgb* to = dst + 8 * g;
#pragma GCC unroll 4
        for (int r = 0; r < Rows; ++r) {
            const __m256i window0 = load(from0 + r * srcStep);
            const __m256i window1 = load(from1 + r * srcStep);
            store(to + r * dstStride, _mm256_permutevar8x32_epi32(window0, order0));
            store(to + r * dstStride + 8, _mm256_permutevar8x32_epi32(window1, order1));
        }
    }
    if (g < groups) {
        const __m256i order = load(reinterpret_cast<const QRgb*>(lanes + 8 * g));
        for (int r = 0; r < Rows; ++r)
            store(dst + r * dstStride + 8 * g,
                  _mm256_permutevar8x32_epi32(load(src + r * srcStep + offsets[g]), order));
    }
}

__attribute__((target("avx2"))) void gather8Avx2(QRgb* dst, std::ptrdiff_t dstStride, int rows,
                                                 const QRgb* src, std::ptrdiff_t srcStep,
                                                 const int32_t* offsets, const int32_t* lanes,
                                                 std::size_t groups) {
    constexpr int kBlock = 4;
    for (; rows >= kBlock; rows -= kBlock, dst += kBlock * dstStride, src += kBlock * srcStep)
        gatherBlockAvx2<kBlock>(dst, dstStride, src, srcStep, offsets, lanes, groups);
    for (; rows > 0; --rows, dst += dstStride, src += srcStep)
        gatherBlockAvx2<1>(dst, dstStride, src, srcStep, offsets, lanes, groups);
}

// With AVX-512VL one permute can pick from sixteen consecutive colours. Each
// row of a block reads one colour further on than the row before, so one
// pair of loads serves all four rows of a block.
__attribute__((target("avx2,avx512f,avx512vl"))) void
gather8Avx512(QRgb* dst, std::ptrdiff_t dstStride, int rows, const QRgb* src, std::ptrdiff_t srcStep,
              const int32_t* offsets, const int32_t* lanes, std::size_t groups) {
    constexpr int kBlock = 4;
    if (srcStep != 1 && srcStep != -1) {
        gather8Avx2(dst, dstStride, rows, src, srcStep, offsets, lanes, groups);
        return;
    }
    // Row r's pixel i is src[r * srcStep + offsets[g] + lanes[i]]; counted
    // from where the lowest of the four rows' windows starts, that is lane
    // lanes[i] + r (going up) or lanes[i] + 3 - r (going down), at most 10.
    const std::ptrdiff_t lowest = srcStep > 0 ? 0 : -(kBlock - 1);
    for (; rows >= kBlock; rows -= kBlock, dst += kBlock * dstStride, src += kBlock * srcStep) {
        for (std::size_t g = 0; g < groups; ++g) {
            const QRgb* from = src + offsets[g] + lowest;
            const __m256i low = load(from);
            const __m256i high = load(from + 8);
            __m256i order = _mm256_add_epi32(load(reinterpret_cast<const QRgb*>(lanes + 8 * g)),
                                             _mm256_set1_epi32(srcStep > 0 ? 0 : kBlock - 1));
            const __m256i next = _mm256_set1_epi32(static_cast<int>(srcStep));
            QRgb* to = dst + 8 * g;
#pragma GCC unroll 4
            for (int r = 0; r < kBlock; ++r) {
                store(to + r * dstStride, _mm256_permutex2var_epi32(low, order, high));
                order = _mm256_add_epi32(order, next);
            }
        }
    }
    if (rows > 0)
        gather8Avx2(dst, dstStride, rows, src, srcStep, offsets, lanes, groups);
}
#endif

struct Versions {
    void (*copy)(QRgb*, const QRgb*, std::ptrdiff_t);
    void (*fill)(QRgb*, QRgb, std::ptrdiff_t);
    void (*gather8)(QRgb*, std::ptrdiff_t, int, const QRgb*, std::ptrdiff_t, const int32_t*, const int32_t*,
                    std::size_t);
};

constexpr Versions kPortable{&copyPortable, &fillPortable, &gather8Portable};

Versions machineVersions() {
#if defined(KORVA_PIXEL_ROWS_AVX2)
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl"))
        return {&copyAvx2, &fillAvx2, &gather8Avx512};
    if (__builtin_cpu_supports("avx2"))
        return {&copyAvx2, &fillAvx2, &gather8Avx2};
#endif
    return kPortable;
}

Versions& active() {
    static Versions versions = machineVersions();
    return versions;
}

} // namespace

void copy(QRgb* dst, const QRgb* src, std::ptrdiff_t n) { active().copy(dst, src, n); }

void fill(QRgb* dst, QRgb value, std::ptrdiff_t n) { active().fill(dst, value, n); }

void gather8(QRgb* dst, std::ptrdiff_t dstStride, int rows, const QRgb* src, std::ptrdiff_t srcStep,
             const int32_t* offsets, const int32_t* lanes, std::size_t groups) {
    active().gather8(dst, dstStride, rows, src, srcStep, offsets, lanes, groups);
}

#if defined(KORVA_PIXEL_ROWS_AVX2)
namespace {
__attribute__((target("avx"))) void zeroUpper() { _mm256_zeroupper(); }
} // namespace
#endif

void releaseWideRegisters() {
#if defined(KORVA_PIXEL_ROWS_AVX2)
    static const bool wide = __builtin_cpu_supports("avx");
    if (wide)
        zeroUpper();
#endif
}

void usePortableVersions(bool portable) { active() = portable ? kPortable : machineVersions(); }

} // namespace korva::pixelrows
