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

#include "blend/pixel_rows_p.h"
#include "frame/elements/image_surface_p.h"
#include "frame/elements/line_raster_p.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <span>

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

// The template line's pixels keyed by row (byRow) or by column, relative to
// its start. When the walk steps along the key axis (at 45 degrees along
// both), each key has exactly one pixel, known without walking: this calls
// visit(key, offset along the other axis) for the painted keys in [from, to),
// in increasing order, and returns the first of them (to when none). Returns
// nothing when keys may have several pixels.
template <class Visit>
std::optional<int64_t> forEachKeyPixel(const GradientPoint& p0, const GradientPoint& p1, bool byRow,
                                       int64_t from, int64_t to, Visit&& visit) {
    const int64_t keyEnd = byRow ? static_cast<int64_t>(p1.y) - p0.y : static_cast<int64_t>(p1.x) - p0.x;
    const int64_t otherEnd = byRow ? static_cast<int64_t>(p1.x) - p0.x : static_cast<int64_t>(p1.y) - p0.y;
    const int64_t keyLength = keyEnd < 0 ? -keyEnd : keyEnd;
    const int64_t otherLength = otherEnd < 0 ? -otherEnd : otherEnd;
    if (keyLength < otherLength || keyLength == 0)
        return std::nullopt;
    const int64_t keySign = keyEnd < 0 ? -1 : 1;
    const int64_t otherSign = otherEnd < 0 ? -1 : 1;
    const int64_t first = std::max(from, keySign > 0 ? 0 : 1 - keyLength);
    const int64_t last = std::min(to - 1, keySign > 0 ? keyLength - 1 : 0);
    if (first > last)
        return to;
    // Walking keys upwards is walking the line forwards (step i = key) or
    // backwards (i = -key). Either way the offset is N(i) / (2 * keyLength)
    // with N moving by 2 * otherLength a key: one division, then carries.
    const int64_t period = 2 * keyLength;
    const int64_t iFirst = first * keySign;
    int64_t offset = rasterMinorOffset(iFirst, keyLength, otherLength);
    int64_t remainder = 2 * iFirst * otherLength + keyLength - 1 - offset * period;
    for (int64_t key = first; key <= last; ++key) {
        visit(key, otherSign * offset);
        if (keySign > 0) {
            remainder += 2 * otherLength;
            if (remainder >= period) {
                remainder -= period;
                ++offset;
            }
        } else {
            remainder -= 2 * otherLength;
            if (remainder < 0) {
                remainder += period;
                --offset;
            }
        }
    }
    return first;
}

// The runs of keys in [from, to) only: the template reaches well past the
// image on both sides, and only the image's rows or columns are painted.
RunTable runsOfTemplate(const GradientPoint& p0, const GradientPoint& p1, bool byRow, int64_t from,
                        int64_t to) {
    const int64_t dx = static_cast<int64_t>(p1.x) - p0.x;
    const int64_t dy = static_cast<int64_t>(p1.y) - p0.y;
    RunTable table;
    if (dx == 0 && dy == 0)
        return table;
    table.runs.reserve(static_cast<size_t>(std::max<int64_t>(0, to - from)));
    const auto first = forEachKeyPixel(p0, p1, byRow, from, to, [&](int64_t key, int64_t offset) {
        if (table.runs.empty())
            table.first = static_cast<int>(key);
        const auto value = static_cast<int>(offset);
        table.runs.push_back({value, value});
    });
    if (first)
        return table;
    const int64_t keyEnd = byRow ? dy : dx;
    // Several pixels per key: gather them in one walk over the whole line.
    const int64_t lo = std::min<int64_t>(0, keyEnd);
    const int64_t hi = std::max<int64_t>(0, keyEnd);
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

// The image's pixels, taken once: every QImage::bits() call checks whether the
// image must be detached first.
struct Canvas {
    explicit Canvas(QImage& image)
        : bits(image.bits()), stride(image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb))),
          width(image.width()), height(image.height()) {}
    QRgb* row(int y) const { return reinterpret_cast<QRgb*>(bits) + y * stride; }
    // The first column whose pixel starts a 32-byte block on every row; 0
    // when rows are not all aligned alike.
    int alignedStart() const {
        constexpr auto kBlock = static_cast<std::uintptr_t>(32);
        if ((stride * static_cast<qsizetype>(sizeof(QRgb))) % kBlock != 0)
            return 0;
        return static_cast<int>((kBlock - reinterpret_cast<std::uintptr_t>(bits) % kBlock) % kBlock /
                                sizeof(QRgb));
    }

    uchar* bits;
    qsizetype stride; // in pixels
    int width;
    int height;
};

// Lines stepping sideways: each row is handled on its own.
void fillSweepAlongX(const Canvas& image, const GradientPoint& p0, const RunTable& table, int step,
                     std::span<const QRgb> pixels) {
    const int64_t w = image.width;
    const int64_t n = static_cast<int64_t>(pixels.size());
    const QRgb last = pixels.back();
    // A leftward sweep lays the colours out right to left; reversed once, each
    // row is again one plain copy.
    const std::vector<QRgb> reversed =
        step > 0 ? std::vector<QRgb>() : std::vector<QRgb>(pixels.rbegin(), pixels.rend());
    for (int y = 0; y < image.height; ++y) {
        const int64_t ry = static_cast<int64_t>(y) - p0.y - table.first;
        if (ry < 0 || ry >= static_cast<int64_t>(table.runs.size()))
            continue;
        const Run& run = table.runs[static_cast<size_t>(ry)];
        const int64_t a = static_cast<int64_t>(p0.x) + run.lo;
        const int64_t b = static_cast<int64_t>(p0.x) + run.hi;
        QRgb* row = image.row(y);
        if (step > 0) {
            // x in [a, a + n - 1] shows line x - a; further right, up to
            // b + n - 1, only the last line still covers the pixel.
            const int64_t from = std::max<int64_t>(0, a);
            const int64_t to = std::min<int64_t>(w - 1, a + n - 1);
            if (from <= to)
                pixelrows::copy(row + from, pixels.data() + (from - a), to - from + 1);
            const int64_t tailFrom = std::max<int64_t>(0, a + n);
            const int64_t tailTo = std::min<int64_t>(w - 1, b + n - 1);
            if (tailFrom <= tailTo)
                pixelrows::fill(row + tailFrom, last, tailTo - tailFrom + 1);
        } else {
            // Mirrored: x in [b - n + 2, b] shows line b - x, which is
            // reversed[x - (b - n + 1)]; from a - n + 1 to b - n + 1 the last
            // line covers it.
            const int64_t headFrom = std::max<int64_t>(0, a - n + 1);
            const int64_t headTo = std::min<int64_t>(w - 1, b - n + 1);
            if (headFrom <= headTo)
                pixelrows::fill(row + headFrom, last, headTo - headFrom + 1);
            const int64_t from = std::max<int64_t>(0, b - n + 2);
            const int64_t to = std::min<int64_t>(w - 1, b);
            if (from <= to)
                pixelrows::copy(row + from, reversed.data() + (from - (b - n + 1)), to - from + 1);
        }
    }
}

// Columns of the template that share one run of rows, as image columns.
struct ColumnGroup {
    int x0, x1; // inclusive
    Run run;
};

// Slanted lines stepping up or down, one pixel per column, every column of the
// image on the template: pixel (x, y) is covered only by line sign * y +
// key[x]. Neighbouring columns' keys differ by at most one, so any eight
// neighbouring pixels of a row are eight consecutive colours rearranged, the
// same rearrangement on every row.
class StaircaseRows {
public:
    static constexpr int kLanes = 8;

    // False when the template is not of that shape over the image, or when it
    // is so nearly flat that stretches of one colour paint it faster.
    // `pixels` is followed by pixelrows::kGatherReach more colours that can be read.
    // `head` columns come before the first group, so that the groups' stores
    // start where the rows are aligned.
    bool prepare(const GradientLines& lines, int width, int head, std::span<const QRgb> pixels) {
        const GradientPoint& p0 = lines.first0;
        sign_ = lines.stepY > 0 ? 1 : -1;
        keys_.resize(static_cast<size_t>(width));
        // Pixel (x, y) lies on line k when y - sign * k - p0.y is the template's
        // row offset at x.
        const int64_t base = -static_cast<int64_t>(sign_) * p0.y;
        size_t painted = 0;
        const auto first =
            forEachKeyPixel(p0, lines.first1, false, -int64_t{p0.x}, width - int64_t{p0.x},
                            [&](int64_t, int64_t row) { keys_[painted++] = base - sign_ * row; });
        if (!first || *first != -int64_t{p0.x} || painted != keys_.size() || keys_.empty())
            return false;
        // The keys change monotonically by steps of one.
        const int64_t changes = std::abs(keys_.back() - keys_.front());
        // Only stretches of hundreds of pixels are filled faster than the
        // staircase paints them: a fill per stretch costs a call and two
        // unaligned ends.
        constexpr int64_t kWideStretch = 256;
        if ((changes + 1) * kWideStretch <= width)
            return false;
        minKey_ = std::min(keys_.front(), keys_.back());
        maxKey_ = std::max(keys_.front(), keys_.back());
        if (minKey_ < INT32_MIN || maxKey_ > INT32_MAX - kLanes)
            return false;
        head_ = static_cast<size_t>(std::clamp(head, 0, width));
        const size_t groupCount = (keys_.size() - head_) / kLanes;
        offsets_.resize(groupCount);
        lanes_.resize(groupCount * kLanes);
        for (size_t g = 0; g < groupCount; ++g) {
            const int64_t* k = &keys_[head_ + g * kLanes];
            const int64_t m = std::min(k[0], k[kLanes - 1]);
            offsets_[g] = static_cast<int32_t>(m);
            for (size_t i = 0; i < kLanes; ++i)
                lanes_[g * kLanes + i] = static_cast<int32_t>(k[i] - m);
        }
        colours_ = pixels;
        return true;
    }

    void paint(const Canvas& image) const {
        for (int y = 0; y < image.height;) {
            if (!covers(y)) {
                paintPartly(image.row(y), y);
                ++y;
                continue;
            }
            int end = y + 1;
            while (end < image.height && covers(end))
                ++end;
            paintCovered(image, y, end);
            y = end;
        }
    }

private:
    // Whether every pixel of row y has its line.
    bool covers(int y) const {
        const int64_t s = static_cast<int64_t>(sign_) * y;
        return s + minKey_ >= 0 && s + maxKey_ <= static_cast<int64_t>(colours_.size()) - 1;
    }

    void paintCovered(const Canvas& image, int y0, int y1) const {
        const QRgb* base = colours_.data() + static_cast<int64_t>(sign_) * y0;
        pixelrows::gather8(image.row(y0) + head_, image.stride, y1 - y0, base, sign_, offsets_.data(),
                           lanes_.data(), offsets_.size());
        const size_t groupsEnd = head_ + offsets_.size() * kLanes;
        if (head_ == 0 && groupsEnd == keys_.size())
            return;
        for (int y = y0; y < y1; ++y, base += sign_) {
            QRgb* row = image.row(y);
            for (size_t x = 0; x < head_; ++x)
                row[x] = base[keys_[x]];
            for (size_t x = groupsEnd; x < keys_.size(); ++x)
                row[x] = base[keys_[x]];
        }
    }

    // A row near where the sweep starts or ends: pixels without a line keep
    // what they show.
    void paintPartly(QRgb* row, int y) const {
        const int64_t s = static_cast<int64_t>(sign_) * y;
        const auto n = static_cast<int64_t>(colours_.size());
        for (size_t x = 0; x < keys_.size(); ++x) {
            const int64_t k = s + keys_[x];
            if (k >= 0 && k < n)
                row[x] = colours_[static_cast<size_t>(k)];
        }
    }

    int sign_ = 1;
    size_t head_ = 0;
    std::vector<int64_t> keys_;
    int64_t minKey_ = 0;
    int64_t maxKey_ = 0;
    std::vector<int32_t> offsets_;
    std::vector<int32_t> lanes_;
    std::span<const QRgb> colours_;
};

// Lines stepping up or down. Slanted ones are painted as a staircase; nearly
// flat ones (and any other shape) by grouping the template's columns by their
// run of rows, each group one stretch of one colour per image row.
void fillSweepAlongY(const Canvas& image, const GradientLines& lines, std::span<const QRgb> pixels) {
    StaircaseRows staircase;
    if (staircase.prepare(lines, image.width, image.alignedStart(), pixels)) {
        staircase.paint(image);
        return;
    }
    const GradientPoint& p0 = lines.first0;
    const int step = lines.stepY;
    const RunTable table =
        runsOfTemplate(p0, lines.first1, false, -int64_t{p0.x}, image.width - int64_t{p0.x});
    std::vector<ColumnGroup> groups;
    for (size_t i = 0; i < table.runs.size(); ++i) {
        const int64_t x = static_cast<int64_t>(p0.x) + table.first + static_cast<int64_t>(i);
        if (x < 0 || x >= image.width)
            continue;
        const Run& run = table.runs[i];
        if (!groups.empty() && groups.back().x1 + 1 == x && groups.back().run.lo == run.lo &&
            groups.back().run.hi == run.hi)
            groups.back().x1 = static_cast<int>(x);
        else
            groups.push_back({static_cast<int>(x), static_cast<int>(x), run});
    }
    const int64_t n = static_cast<int64_t>(pixels.size());
    for (int y = 0; y < image.height; ++y) {
        QRgb* row = image.row(y);
        for (const ColumnGroup& g : groups) {
            // Lines covering (x, y): k with y - k * step - p0.y in [lo, hi].
            const int64_t top = step > 0 ? static_cast<int64_t>(y) - p0.y - g.run.lo
                                         : static_cast<int64_t>(p0.y) + g.run.hi - y;
            const int64_t low = step > 0 ? static_cast<int64_t>(y) - p0.y - g.run.hi
                                         : static_cast<int64_t>(p0.y) + g.run.lo - y;
            if (top < 0 || low > n - 1)
                continue;
            pixelrows::fill(row + g.x0, pixels[static_cast<size_t>(std::min(top, n - 1))], g.x1 - g.x0 + 1);
        }
    }
}

} // namespace

void fillGradientLines(QImage& image, const GradientLines& lines, const std::vector<int32_t>& colours) {
    const int64_t count = lines.lineCount();
    if (count == 0 || image.format() != QImage::Format_RGB32 || static_cast<int64_t>(colours.size()) < count)
        return;
    // Padded with the last colour for the staircase's whole-window reads.
    std::vector<QRgb> padded(static_cast<size_t>(count) + pixelrows::kGatherReach);
    for (size_t k = 0; k < static_cast<size_t>(count); ++k)
        padded[k] = pixelOfColour(static_cast<uint32_t>(colours[k]));
    std::fill(padded.begin() + count, padded.end(), padded[static_cast<size_t>(count) - 1]);
    const std::span<const QRgb> pixels(padded.data(), static_cast<size_t>(count));

    if (lines.stepY == 0) {
        const RunTable table = runsOfTemplate(lines.first0, lines.first1, true, -int64_t{lines.first0.y},
                                              image.height() - int64_t{lines.first0.y});
        fillSweepAlongX(Canvas(image), lines.first0, table, lines.stepX, pixels);
    } else {
        fillSweepAlongY(Canvas(image), lines, pixels);
    }
}

} // namespace korva
