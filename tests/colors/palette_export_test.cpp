#include "colors/palette_export_p.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace korva {
namespace {

TEST(ParsePaletteLayout, NameOrDecimalValueOnly) {
    struct Row {
        const char* text;
        std::optional<enZAVINPalette> expected;
    };
    const auto no = std::nullopt;
    // clang-format off
    const Row rows[] = {{"AP24X8", AP24X8}, {"AP8X2", AP8X2}, {"AP32X8X6", AP32X8X6}, {"4", AP24X8}, {"0", AP8X2},
                        {"11", AP32X8X6},   {"12", no},       {"-1", no},             {"+4", no},    {" 4", no},
                        {"4x", no},         {"", no},         {"ap24x8", no},         {"AP24X8 ", no},
                        {"99999999999999999999", no}};
    // clang-format on
    for (const Row& r : rows)
        EXPECT_EQ(ParsePaletteLayout(r.text), r.expected) << '"' << r.text << '"';
}

TEST(ExportGimpPalette, Ap8x2IsTheWholeFile) {
    EXPECT_EQ(ExportGimpPalette(AP8X2), "GIMP Palette\n"
                                        "Name: AP8X2\n"
                                        "Columns: 8\n"
                                        "255   0   0\tRED\n"
                                        "128   0   0\tDARK RED\n"
                                        "255 255   0\tYELLOW\n"
                                        "128 128   0\tDARK YELLOW\n"
                                        "  0 255   0\tGREEN\n"
                                        "  0 128   0\tDARK GREEN\n"
                                        "  0 255 255\tCYAN\n"
                                        "  0 128 128\tDARK CYAN\n"
                                        "  0   0 255\tBLUE\n"
                                        "  0   0 128\tDARK BLUE\n"
                                        "255   0 255\tMAGENTA\n"
                                        "128   0 128\tDARK MAGENTA\n"
                                        "255 255 255\tWHITE\n"
                                        "128 128 128\tGRAY\n"
                                        "192 192 192\tCHROME\n"
                                        "  0   0   0\tBLACK\n");
}

TEST(ExportGimpPalette, MainGridOnlyAndRefusesUnknownLayouts) {
    auto lines = [](const std::string& s) { return std::count(s.begin(), s.end(), '\n'); };
    // A shade layout exports its hue column and WHITE, never shades.
    const std::string shades = ExportGimpPalette(AP32X8X6);
    EXPECT_EQ(shades.rfind("GIMP Palette\nName: AP32X8X6\nColumns: 4\n255   0   0\tRED\n", 0), 0u);
    EXPECT_EQ(lines(shades), 3 + 32);
    EXPECT_TRUE(shades.ends_with("\n160   0 255\tAMETHYST\n255 255 255\tWHITE\n"));
    EXPECT_EQ(lines(ExportGimpPalette(AP24X10)), 3 + 240);
    EXPECT_EQ(ExportGimpPalette(12), "");
    EXPECT_EQ(ExportGimpPalette(-1), "");
}

} // namespace
} // namespace korva
