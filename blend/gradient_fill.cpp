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
#include <limits>

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

// A stretch of one colour. The library is built at -O2, where a plain loop
// over 32-bit pixels stays scalar; eight stores in a row are merged into wide
// stores, which brings a stretch close to the speed of QImage::fill.
void fillPixels(QRgb* first, QRgb* last, QRgb value) {
    QRgb* p = first;
    for (; last - p >= 8; p += 8) {
        p[0] = value;
        p[1] = value;
        p[2] = value;
        p[3] = value;
        p[4] = value;
        p[5] = value;
        p[6] = value;
        p[7] = value;
    }
    for (; p < last; ++p)
        *p = value;
}

RunTable runsOfTemplate(const GradientPoint& p0, const GradientPoint& p1, bool byRow) {
    std::vector<GradientPoint> pixels;
    rasterLine(0, 0, p1.x - p0.x, p1.y - p0.y, [&](int x, int y) { pixels.push_back({x, y}); });
    RunTable table;
    if (pixels.empty())
        return table;
    int lo = std::numeric_limits<int>::max();
    int hi = std::numeric_limits<int>::min();
    for (const GradientPoint& p : pixels) {
        const int key = byRow ? p.y : p.x;
        lo = std::min(lo, key);
        hi = std::max(hi, key);
    }
    table.first = lo;
    table.runs.resize(static_cast<size_t>(hi - lo + 1));
    for (const GradientPoint& p : pixels) {
        Run& run = table.runs[static_cast<size_t>((byRow ? p.y : p.x) - lo)];
        const int value = byRow ? p.x : p.y;
        run.lo = std::min(run.lo, value);
        run.hi = std::max(run.hi, value);
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

// Lines stepping up or down: the template's columns are grouped by their run
// of rows, and every group paints one stretch of one colour per image row.
void fillSweepAlongY(QImage& image, const GradientPoint& p0, const RunTable& table, int step,
                     const std::vector<QRgb>& pixels) {
    struct Group {
        int x0, x1; // image columns, inclusive
        Run run;
    };
    const int w = image.width();
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
    for (int y = 0; y < image.height(); ++y) {
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
