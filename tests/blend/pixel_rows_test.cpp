#include "blend/pixel_rows_p.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

namespace korva {
namespace {

// The machine's versions write whole registers with a first store, aligned
// stores and a last store that overlap; every length and start alignment must
// still write exactly [0, n) and nothing either side.
TEST(PixelRows, machineVersionsWriteExactlyWhatThePortableOnesDo) {
    std::vector<QRgb> source(64);
    std::iota(source.begin(), source.end(), 0xFF000100u);
    std::vector<int32_t> offsets(5);
    std::vector<int32_t> lanes(40);
    for (size_t g = 0; g < offsets.size(); ++g) {
        offsets[g] = static_cast<int32_t>(3 * g + 1);
        for (size_t i = 0; i < 8; ++i) // a staircase, and one group reversed
            lanes[8 * g + i] = static_cast<int32_t>(g == 2 ? 7 - i : i / 2 + (i > 5));
    }
    const auto written = [&](bool portable, int align, int n, int what) {
        pixelrows::usePortableVersions(portable);
        // Rows of 48 pixels; a staircase over n / 8 rows (blocks of several
        // rows and single ones), reading one colour further on each row.
        std::vector<QRgb> rows(48 * 6, 0xFFFFFFFFu);
        QRgb* dst = rows.data() + 4 + align;
        if (what == 0)
            pixelrows::copy(dst, source.data() + 3, n);
        else if (what == 1)
            pixelrows::fill(dst, 0xFF123456u, n);
        else // upwards and, from further on, downwards through the colours
            pixelrows::gather8(dst, 48, n / 8, source.data() + (n % 2 ? 12 : 0), n % 2 ? -1 : 1,
                               offsets.data(), lanes.data(), static_cast<size_t>(n % 6));
        pixelrows::usePortableVersions(false);
        return rows;
    };
    for (int what : {0, 1, 2})
        for (int align = 0; align < 8; ++align)
            for (int n = 0; n <= 40; ++n) {
                const std::vector<QRgb> expected = written(true, align, n, what);
                ASSERT_EQ(written(false, align, n, what), expected) << what << " at " << align << " n " << n;
                if (what == 2)
                    continue;
                ASSERT_EQ(expected[static_cast<size_t>(4 + align + n)], 0xFFFFFFFFu);
                ASSERT_EQ(expected[static_cast<size_t>(3 + align)], 0xFFFFFFFFu);
            }
    // Pixel 3 of the reversed group on the second row reads lane 4 of its
    // window, one colour further on (or back).
    EXPECT_EQ(written(true, 0, 16, 2)[4 + 48 + 16 + 3], source[static_cast<size_t>(offsets[2] + 4 + 1)]);
    EXPECT_EQ(written(true, 0, 17, 2)[4 + 48 + 16 + 3], source[static_cast<size_t>(12 + offsets[2] + 4 - 1)]);
}

} // namespace
} // namespace korva
