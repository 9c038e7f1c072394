// Why this is exact: line k is the first line moved by k * step, and a raster
// line keeps its shape when moved (see frame/elements/line_raster_p.h). So pixel q is
// covered by line k exactly when q - k * step is a pixel of the first line, and
// since later lines are drawn over earlier ones, q ends up in the colour of the
// highest such k. Along a sweep in X, the first line's pixels on one row form
// one run of columns [a, b], so on that row the covering k form a range that
// moves with x; the row becomes one slice of the colour list plus, where the
// run is wider than a pixel, a stretch of the last colour. A sweep in Y is the
// same with rows and columns exchanged: columns of the first line that share
// the same run of rows are painted together, one colour per row.
#include "blend/gradient_fill_p.h"

#include "frame/elements/image_surface_p.h"
#include "frame/elements/line_raster_p.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>
#include <limits>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <tmmintrin.h>
#endif

namespace korva {

namespace {

struct Run {
    int lo = std::numeric_limits<int>::max();
    int hi = std::numeric_limits<int>::min();
};

// For each offset along one axis (index = offset - first), the run of offsets
// along the other axis that the template line covers.
struct RunTable {
    int first = 0;
    std::vector<Run> runs;
};

// A stretch of one colour. A plain loop over 32-bit pixels stays scalar at
// -O2, four times slower than the fill it is measured against; the C
// library's wide-character fill is that same fill, vectorised for the machine.
void fillPixels(QRgb* first, QRgb* last, QRgb value) {
    // A short stretch (the tail of a steep line's row) is cheaper than the call.
    if (last - first < 32) {
        for (QRgb* p = first; p < last; ++p)
            *p = value;
        return;
    }
    if constexpr (sizeof(wchar_t) == sizeof(QRgb)) {
        wchar_t w;
        std::memcpy(&w, &value, sizeof w);
        std::wmemset(reinterpret_cast<wchar_t*>(first), w, static_cast<std::size_t>(last - first));
    } else {
        std::fill(first, last, value);
    }
}

RunTable runsOfTemplate(const GradientPoint& p0, const GradientPoint& p1, bool byRow) {
    // The template's extent along the key axis is known from its ends, so the
    // runs are gathered in one walk without listing the pixels first.
    const int64_t dx = static_cast<int64_t>(p1.x) - p0.x;
    const int64_t dy = static_cast<int64_t>(p1.y) - p0.y;
    RunTable table;
    if (dx == 0 && dy == 0)
        return table;
    const int64_t end = byRow ? dy : dx;
    const int64_t lo = std::min<int64_t>(0, end);
    const int64_t hi = std::max<int64_t>(0, end);
    table.first = static_cast<int>(lo);
    table.runs.resize(static_cast<size_t>(hi - lo + 1));
    rasterLine(0, 0, static_cast<int>(dx), static_cast<int>(dy), [&](int x, int y) {
        Run& run = table.runs[static_cast<size_t>((byRow ? y : x) - lo)];
        const int value = byRow ? x : y;
        run.lo = std::min(run.lo, value);
        run.hi = std::max(run.hi, value);
    });
    // The end point is not painted: drop keys the walk never reached.
    while (!table.runs.empty() && table.runs.back().lo > table.runs.back().hi)
        table.runs.pop_back();
    while (!table.runs.empty() && table.runs.front().lo > table.runs.front().hi) {
        table.runs.erase(table.runs.begin());
        ++table.first;
    }
    return table;
}

// Lines stepping sideways: each row is handled on its own.
void fillSweepAlongX(QImage& image, const GradientPoint& p0, const RunTable& table, int step,
                     const std::vector<QRgb>& pixels) {
    const int64_t w = image.width();
    const int64_t n = static_cast<int64_t>(pixels.size());
    const QRgb last = pixels.back();
    // A leftward sweep lays the colours out right to left; reversed once, each
    // row is again one plain copy.
    const std::vector<QRgb> reversed =
        step > 0 ? std::vector<QRgb>() : std::vector<QRgb>(pixels.rbegin(), pixels.rend());
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int y = 0; y < image.height(); ++y) {
        const int64_t ry = static_cast<int64_t>(y) - p0.y - table.first;
        if (ry < 0 || ry >= static_cast<int64_t>(table.runs.size()))
            continue;
        const Run& run = table.runs[static_cast<size_t>(ry)];
        const int64_t a = static_cast<int64_t>(p0.x) + run.lo;
        const int64_t b = static_cast<int64_t>(p0.x) + run.hi;
        QRgb* row = reinterpret_cast<QRgb*>(bits + y * stride);
        if (step > 0) {
            // x in [a, a + n - 1] shows line x - a; further right, up to
            // b + n - 1, only the last line still covers the pixel.
            const int64_t from = std::max<int64_t>(0, a);
            const int64_t to = std::min<int64_t>(w - 1, a + n - 1);
            if (from <= to)
                std::copy(pixels.begin() + (from - a), pixels.begin() + (to - a + 1), row + from);
            const int64_t tailFrom = std::max<int64_t>(0, a + n);
            const int64_t tailTo = std::min<int64_t>(w - 1, b + n - 1);
            if (tailFrom <= tailTo)
                fillPixels(row + tailFrom, row + tailTo + 1, last);
        } else {
            // Mirrored: x in [b - n + 2, b] shows line b - x, which is
            // reversed[x - (b - n + 1)]; from a - n + 1 to b - n + 1 the last
            // line covers it.
            const int64_t headFrom = std::max<int64_t>(0, a - n + 1);
            const int64_t headTo = std::min<int64_t>(w - 1, b - n + 1);
            if (headFrom <= headTo)
                fillPixels(row + headFrom, row + headTo + 1, last);
            const int64_t from = std::max<int64_t>(0, b - n + 2);
            const int64_t to = std::min<int64_t>(w - 1, b);
            if (from <= to)
                std::copy(reversed.begin() + (from - (b - n + 1)), reversed.begin() + (to - (b - n + 1) + 1),
                          row + from);
        }
    }
}

// Slanted lines stepping up or down. Pixel (x, y) shows colour index
// sign * y + key[x] (sign = step), as long as that index is not negative and
// the lowest line covering the pixel, index - span[x], exists. Down a column
// the indices are consecutive, so on a block of rows where every pixel is
// covered each run of four columns is one load of four consecutive colours,
// rearranged by the pattern of the four keys: a stretch of the colour run
// seen through the template's staircase.
struct ColumnKeys {
    std::vector<int64_t> key;
    std::vector<int64_t> span;
    int64_t minKey = 0, maxKey = 0, maxLowKey = 0;
    // Runs of four columns from column 0 whose keys lie within four of each
    // other: where each run reads (offsets) and how it rearranges (masks).
    std::vector<int32_t> offsets;
    std::vector<std::array<uint8_t, 16>> masks;
    int shuffleGroups = 0;
};

#if defined(__SSE2__)
using GroupKernel = void (*)(QRgb* dst, qsizetype strideWords, int rows, const QRgb* src, int srcStep);

template <int Pattern>
void groupRows(QRgb* dst, qsizetype strideWords, int rows, const QRgb* src, int srcStep) {
    for (int r = 0; r < rows; ++r) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_shuffle_epi32(v, Pattern));
        dst += strideWords;
        src += srcStep;
    }
}

template <std::size_t... P>
constexpr std::array<GroupKernel, sizeof...(P)> kernels(std::index_sequence<P...>) {
    return {&groupRows<static_cast<int>(P)>...};
}
constexpr auto kGroupKernels = kernels(std::make_index_sequence<256>());
#endif

#if defined(__GNUC__) && defined(__x86_64__)
#define KORVA_HAVE_SHUFFLE_ROWS 1
// Each run of four columns reads four consecutive colours and rearranges them
// with a byte shuffle chosen per run; rows are painted left to right, one
// 16-byte store per four pixels.
__attribute__((target("ssse3"))) void shuffleRows(QImage& image, int y0, int y1, int sign,
                                                  const std::vector<int32_t>& offsets,
                                                  const std::vector<std::array<uint8_t, 16>>& masks,
                                                  const QRgb* ext) {
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const std::size_t groups = offsets.size();
    const int32_t* const offset = offsets.data();
    const uint8_t* const mask = masks.data()->data();
    for (int y = y0; y < y1; ++y) {
        __m128i* row = reinterpret_cast<__m128i*>(bits + y * stride);
        const QRgb* base = ext + static_cast<int64_t>(sign) * y;
        for (std::size_t g = 0; g < groups; ++g) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + offset[g]));
            const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask + 16 * g));
            _mm_storeu_si128(row + g, _mm_shuffle_epi8(v, m));
        }
    }
}

bool canShuffleRows() {
    static const bool yes = __builtin_cpu_supports("ssse3");
    return yes;
}
#endif

void fillSlantedBlock(QImage& image, int y0, int y1, int sign, const ColumnKeys& keys,
                      const std::vector<QRgb>& ext) {
    const int w = image.width();
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const auto scalarColumns = [&](int x0, int x1) {
        for (int y = y0; y < y1; ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(bits + y * stride);
            for (int x = x0; x < x1; ++x)
                row[x] = ext[static_cast<size_t>(sign * y + keys.key[static_cast<size_t>(x)])];
        }
    };
    int x = 0;
#if defined(KORVA_HAVE_SHUFFLE_ROWS)
    if (canShuffleRows() && keys.shuffleGroups > 0) {
        shuffleRows(image, y0, y1, sign, keys.offsets, keys.masks, ext.data());
        x = 4 * keys.shuffleGroups;
        scalarColumns(x, w);
        return;
    }
#endif
#if defined(__SSE2__)
    const qsizetype strideWords = stride / static_cast<qsizetype>(sizeof(QRgb));
    for (; x + 4 <= w; x += 4) {
        const int64_t* k = &keys.key[static_cast<size_t>(x)];
        const int64_t m = std::min({k[0], k[1], k[2], k[3]});
        const int64_t top = std::max({k[0], k[1], k[2], k[3]});
        if (top - m > 3) {
            scalarColumns(x, x + 4);
            continue;
        }
        const int pattern =
            static_cast<int>((k[0] - m) | (k[1] - m) << 2 | (k[2] - m) << 4 | (k[3] - m) << 6);
        QRgb* dst = reinterpret_cast<QRgb*>(bits + y0 * stride) + x;
        const QRgb* src = ext.data() + (sign * y0 + m);
        kGroupKernels[static_cast<size_t>(pattern)](dst, strideWords, y1 - y0, src, sign);
    }
#endif
    scalarColumns(x, w);
}

// Lines stepping up or down: the template's columns are grouped by their run
// of rows. A line close to flat gives few, wide groups, each one stretch of
// one colour per image row; a slanted one gives many narrow groups, which are
// painted through their colour indices instead (fillSlantedBlock).
void fillSweepAlongY(QImage& image, const GradientPoint& p0, const RunTable& table, int step,
                     const std::vector<QRgb>& pixels) {
    struct Group {
        int x0, x1; // image columns, inclusive
        Run run;
    };
    const int w = image.width();
    const int h = image.height();
    std::vector<Group> groups;
    for (size_t i = 0; i < table.runs.size(); ++i) {
        const int64_t x = static_cast<int64_t>(p0.x) + table.first + static_cast<int64_t>(i);
        if (x < 0 || x >= w)
            continue;
        const Run& run = table.runs[i];
        if (!groups.empty() && groups.back().x1 + 1 == x && groups.back().run.lo == run.lo &&
            groups.back().run.hi == run.hi)
            groups.back().x1 = static_cast<int>(x);
        else
            groups.push_back({static_cast<int>(x), static_cast<int>(x), run});
    }
    const int64_t n = static_cast<int64_t>(pixels.size());
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const auto paintRowByGroups = [&](int y) {
        QRgb* row = reinterpret_cast<QRgb*>(bits + y * stride);
        for (const Group& g : groups) {
            // Lines covering (x, y): k with y - k * step - p0.y in [lo, hi].
            const int64_t top = step > 0 ? static_cast<int64_t>(y) - p0.y - g.run.lo
                                         : static_cast<int64_t>(p0.y) + g.run.hi - y;
            const int64_t low = step > 0 ? static_cast<int64_t>(y) - p0.y - g.run.hi
                                         : static_cast<int64_t>(p0.y) + g.run.lo - y;
            if (top < 0 || low > n - 1)
                continue;
            fillPixels(row + g.x0, row + g.x1 + 1, pixels[static_cast<size_t>(std::min(top, n - 1))]);
        }
    };

    // Wide groups: a few fills per row are as fast as it gets.
    constexpr std::size_t kWideGroup = 16;
    if (groups.empty() || groups.size() * kWideGroup <= static_cast<std::size_t>(w) ||
        groups.front().x0 != 0 || groups.back().x1 != w - 1) {
        for (int y = 0; y < h; ++y)
            paintRowByGroups(y);
        return;
    }

    ColumnKeys keys;
    keys.key.resize(static_cast<size_t>(w));
    keys.span.resize(static_cast<size_t>(w));
    for (const Group& g : groups)
        for (int x = g.x0; x <= g.x1; ++x) {
            keys.key[static_cast<size_t>(x)] =
                step > 0 ? -static_cast<int64_t>(p0.y) - g.run.lo : static_cast<int64_t>(p0.y) + g.run.hi;
            keys.span[static_cast<size_t>(x)] = static_cast<int64_t>(g.run.hi) - g.run.lo;
        }
    // Groups are contiguous from column 0 to the last: every column has its key.
    for (size_t i = 1; i < groups.size(); ++i)
        if (groups[i].x0 != groups[i - 1].x1 + 1) {
            for (int y = 0; y < h; ++y)
                paintRowByGroups(y);
            return;
        }
    keys.minKey = *std::min_element(keys.key.begin(), keys.key.end());
    keys.maxKey = *std::max_element(keys.key.begin(), keys.key.end());
    keys.maxLowKey = keys.key[0] - keys.span[0];
    for (size_t i = 1; i < keys.key.size(); ++i)
        keys.maxLowKey = std::max(keys.maxLowKey, keys.key[i] - keys.span[i]);

    for (int x = 0; x + 4 <= w; x += 4) {
        const int64_t* k = &keys.key[static_cast<size_t>(x)];
        const int64_t m = std::min({k[0], k[1], k[2], k[3]});
        if (std::max({k[0], k[1], k[2], k[3]}) - m > 3 || m > INT32_MAX || m < INT32_MIN)
            break;
        std::array<uint8_t, 16> mask{};
        for (int c = 0; c < 4; ++c)
            for (int b = 0; b < 4; ++b)
                mask[static_cast<size_t>(4 * c + b)] = static_cast<uint8_t>(4 * (k[c] - m) + b);
        keys.offsets.push_back(static_cast<int32_t>(m));
        keys.masks.push_back(mask);
        ++keys.shuffleGroups;
    }

    const int sign = step > 0 ? 1 : -1;
    // A row is wholly covered when its smallest index exists and its largest
    // lowest line exists.
    const auto covered = [&](int y) {
        const int64_t s = static_cast<int64_t>(sign) * y;
        return s + keys.minKey >= 0 && s + keys.maxLowKey <= n - 1;
    };
    const int64_t highest = std::max<int64_t>(0, (sign > 0 ? h - 1 : 0) + keys.maxKey);
    // Indices past the last line show the last colour; four more for the loads.
    if (highest > (int64_t{1} << 26))
        return (void)[&] {
            for (int y = 0; y < h; ++y)
                paintRowByGroups(y);
        }
    ();
    std::vector<QRgb> ext(static_cast<size_t>(std::max<int64_t>(highest + 1, n) + 4), pixels.back());
    std::copy(pixels.begin(), pixels.end(), ext.begin());

    constexpr int kBlock = 64;
    for (int y0 = 0; y0 < h; y0 += kBlock) {
        const int y1 = std::min(h, y0 + kBlock);
        if (covered(y0) && covered(y1 - 1)) {
            fillSlantedBlock(image, y0, y1, sign, keys, ext);
        } else {
            for (int y = y0; y < y1; ++y)
                paintRowByGroups(y);
        }
    }
}

} // namespace

void fillGradientLines(QImage& image, const GradientLines& lines, const std::vector<int32_t>& colours) {
    const int count = lines.lineCount();
    if (count == 0 || image.format() != QImage::Format_RGB32 || colours.size() < static_cast<size_t>(count))
        return;
    std::vector<QRgb> pixels(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k)
        pixels[static_cast<size_t>(k)] =
            pixelOfColour(static_cast<uint32_t>(colours[static_cast<size_t>(k)]));

    const GradientPoint& p0 = lines.points[0];
    const GradientPoint& p1 = lines.points[1];
    if (lines.stepY == 0) {
        const RunTable table = runsOfTemplate(p0, p1, true);
        fillSweepAlongX(image, p0, table, lines.stepX, pixels);
    } else {
        const RunTable table = runsOfTemplate(p0, p1, false);
        fillSweepAlongY(image, p0, table, lines.stepY, pixels);
    }
}

} // namespace korva
