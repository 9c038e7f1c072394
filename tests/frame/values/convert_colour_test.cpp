// The runtime's conversions and the colour helpers: the places where a wrong
// rounding rule or a missed range check silently changes what a control shows.
#include "frame/colour/colour_p.h"
#include "frame/platform/scripted_platform_p.h"
#include "frame/values/convert_p.h"
#include "frame/values/value_text_p.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <span>
#include <string>

using namespace korva;

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    const struct {
        double in, out;
    } cases[] = {
        {0.5, 0},     {1.5, 2},     {2.5, 2},       {-0.5, -0},     {-1.5, -2}, {-2.5, -2},
        {100.5, 100}, {101.5, 102}, {2.4999999, 2}, {2.5000001, 3}, {-7.2, -7}, {1e300, 1e300},
    };
    for (const auto& c : cases)
        EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
    // Near 2^52 the halves are the last fractions a double holds.
    EXPECT_EQ(roundHalfEven(0x1p52 - 0.5), 0x1p52);
    EXPECT_EQ(roundHalfEven(-(0x1p52 - 2.5)), -(0x1p52 - 2));
    EXPECT_EQ(roundHalfEven(0x1p52 + 1), 0x1p52 + 1);
    EXPECT_TRUE(std::isnan(roundHalfEven(NAN)));
    EXPECT_FALSE(std::signbit(roundHalfEven(-0.4)));
}

// A value out of range after rounding (-32768.5 ties to the even -32768 and
// stays inside, 32767.5 goes to 32768) is refused and leaves the target alone.
TEST(WholeNumbers, RangeChecksLeaveTheTargetUntouched) {
    const struct {
        double in;
        bool ok;
        int16_t out;
    } integers[] = {{32767.4, true, 32767}, {-32768.5, true, -32768}, {32767.5, false, 7}, {NAN, false, 7}};
    for (const auto& c : integers) {
        int16_t i = 7;
        EXPECT_EQ(toInteger(c.in, i), c.ok) << c.in;
        EXPECT_EQ(i, c.out) << c.in;
    }
    int32_t l = 9;
    for (const auto& [in, ok] : {std::pair{2147483647.0, true}, {2147483648.0, false}}) {
        EXPECT_EQ(toLong(in, l), ok) << in;
        EXPECT_EQ(l, 2147483647) << in;
    }
}

TEST(TextToNumber, AcceptsNumbersRejectsTheRest) {
    const struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"12", true, 12},     {"  -3.25 ", true, -3.25}, {"1e3", true, 1000}, {"&HFF", true, 255},
        {"&HFFFF", true, -1}, {"&H10000", true, 65536},  {"&O17", true, 15},  {"", false, 0},
        {"   ", false, 0},    {"abc", false, 0},         {"12abc", false, 0}, {"1.2.3", false, 0},
    };
    for (const auto& c : cases) {
        double v = 42;
        EXPECT_EQ(textToNumber(QString::fromLatin1(c.text), v), c.ok) << c.text;
        EXPECT_EQ(v, c.ok ? c.value : 42) << c.text;
    }
}

TEST(TextToNumber, FollowsTheLocaleDecimalPoint) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    double v = 0;
    EXPECT_TRUE(textToNumber("2,5", v));
    EXPECT_EQ(v, 2.5);
    EXPECT_EQ(formatOneDecimal(2.25), "2,3");
    QLocale::setDefault(saved);
}

TEST(LeadingNumber, ReadsAsMuchAsItCan) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"12abc", 12}, {"abc", 0},    {" 1 2", 12}, {"-3.5e1x", -35}, {"", 0},  {".5", 0.5},
                 {"1e", 1},     {"&H1F!", 31}, {"+7", 7},    {"--1", 0},       {"3.", 3}};
    for (const auto& c : cases)
        EXPECT_EQ(leadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(Formats, HalvesRoundAwayFromZeroOnTheDecimalReading) {
    struct Row {
        double in;
        std::string whole, oneDecimal;
    };
    const Row near[] = {
        {0.5, "1", "0.5"},  {1.5, "2", "1.5"},  {2.5, "3", "2.5"},   {-2.5, "-3", "-2.5"}, {0.15, "0", "0.2"},
        {0.25, "0", "0.3"}, {1.05, "1", "1.1"}, {-0.04, "0", "0.0"}, {9.96, "10", "10.0"}, {0, "0", "0.0"},
    };
    // Long numbers: beyond fifteen significant digits every digit still counts.
    const Row wide[] = {
        {99999.95, "100000", "100000.0"},
        {1234567.0, "1234567", "1234567.0"},
        {4503599627370497.0 - 0.5, "4503599627370496", "4503599627370496.0"},
        {100000000000000.25, "100000000000000", "100000000000000.3"},
        {9007199254740993.0, "9007199254740992", "9007199254740992.0"},
        {1e300, "1" + std::string(300, '0'), ("1" + std::string(300, '0') + ".0")},
    };
    for (const auto& rows : {std::span<const Row>(near), std::span<const Row>(wide)})
        for (const Row& c : rows) {
            EXPECT_EQ(formatWhole(c.in).toStdString(), c.whole) << c.in;
            EXPECT_EQ(formatOneDecimal(c.in).toStdString(), c.oneDecimal) << c.in;
        }
}

TEST(ValueConversions, SavedValuesConvertOrFail) {
    const struct {
        Value in;
        bool ok, out;
    } bools[] = {{Value("true"), true, true},      {Value("False"), true, false},
                 {Value(int16_t{-1}), true, true}, {Value("0"), true, false},
                 {Value("maybe"), false, true},    {Value(FontSpec{}), false, true}};
    for (const auto& c : bools) {
        bool b = c.ok ? !c.out : c.out; // a success must write, a failure must not
        EXPECT_EQ(valueToBool(c.in, b), c.ok) << formatTypedValue(c.in).toStdString();
        EXPECT_EQ(b, c.out) << formatTypedValue(c.in).toStdString();
    }
    int16_t i = 3;
    EXPECT_FALSE(valueToInteger(Value(int32_t{40000}), i));
    EXPECT_EQ(i, 3);
    EXPECT_TRUE(valueToInteger(Value("12.5"), i));
    EXPECT_EQ(i, 12);
    uint32_t c = 0;
    EXPECT_TRUE(valueToColour(Value(int32_t{-2147483633}), c));
    EXPECT_EQ(c, 0x8000000Fu);
    for (const auto& [in, out] : {std::pair{Value(2.5), "2.5"}, {Value(true), "True"}}) {
        QString s;
        EXPECT_TRUE(valueToString(in, s));
        EXPECT_EQ(s, out);
    }
}

TEST(TranslateColor, PlainPassesSystemLooksUpUnknownFails) {
    // 0x80000019: index 25 names nothing; 0x01000003: a palette entry without a palette.
    const std::pair<uint32_t, int32_t> cases[] = {
        {0x000000FF, 0x000000FF}, {0x00123456, 0x00123456}, {0x80000005, 0x00FFFFFF},
        {0x8000000F, 0x00C8D0D4}, {0x80000019, -1},         {0x800000FF, -1},
        {0x80010005, -1},         {0x01000003, -1},         {0x02112233, 0x00112233}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(TranslateColor(in), out) << std::hex << in;
}

TEST(TranslateColor, FollowsThePlatformInForce) {
    struct Dark : ScriptedPlatform {
        bool systemColour(int index, uint32_t& out) const override {
            out = 0x00101010u + static_cast<uint32_t>(index);
            return true;
        }
    } dark;
    dark.installed(true);
    EXPECT_EQ(TranslateColor(0x80000005), 0x00101015);
    dark.installed(false);
    EXPECT_EQ(TranslateColor(0x80000005), 0x00FFFFFF);
}

TEST(BlendColor, WeightsTiesAndWeightsOutOfRange) {
    const struct {
        uint32_t a, b;
        int32_t w;
        int32_t out;
    } cases[] = {
        {0xFFFFFF, 0x000000, 255, 0xFFFFFF},
        {0xFFFFFF, 0x000000, 0, 0x000000},
        {0xFFFFFF, 0x000000, 128, 0x808080},
        {0x80000019, 0x000000, 255, 0xFFFFFF}, // untranslatable mixes as white
        {0x000000, 0x80000019, 0, 0xFFFFFF},
        {0x8000000F, 0x000000, 255, 0xC8D0D4},
        // red: 201*1/255 + 0 = 0.788 -> 1; blue: 0 + 255*254/255 = 254
        {0x0000C9, 0xFF0000, 1, 0xFE0001},
        // 170*128/255 + 1*127/255 = 85.83 -> 86 in red; green and blue stay 0
        {0x0000AA, 0x000001, 128, 0x000056},
        {0x00FF8040, 0x00000000, 140, 0x008C4623},
        // The weight is not checked: channels above 255 are limited, a negative
        // channel leaves the result 0, and products that leave 32 bits fail so
        // every channel keeps its initial 0.
        {0xFFFFFF, 0x000000, 300, 0xFFFFFF},
        {0x000000, 0xFFFFFF, 300, 0},
        {0xFFFFFF, 0xFFFFFF, 0x7FFFFFFF, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BlendColor(c.a, c.b, c.w), c.out)
            << std::hex << c.a << " " << c.b << " " << std::dec << c.w;
}

// Texts the runtime makes from a number must read back as a finite number,
// also where rounding to 15 digits would carry past the largest double.
TEST(Formats, NumbersAtTheEndsOfTheDoubleRangeReadBack) {
    using L = std::numeric_limits<double>;
    const double edges[] = {
        L::max(), L::min(), L::denorm_min(),      1.7976931348623155e308, 9.99999999999999e307,
        1e308,    1e-310,   123456789012345678.0, 0.30000000000000004};
    for (const double magnitude : edges)
        for (const double x : {magnitude, -magnitude}) {
            SCOPED_TRACE(x);
            const QString texts[] = {numberToText(x), formatWhole(x), formatOneDecimal(x)};
            for (const QString& t : texts) {
                double back = 0;
                EXPECT_TRUE(textToNumber(t, back) && std::isfinite(back)) << t.toStdString();
                Value parsed;
                EXPECT_TRUE(parseValue(t, parsed, nullptr)) << t.toStdString();
            }
            double back = 0;
            ASSERT_TRUE(textToNumber(numberToText(x), back));
            EXPECT_EQ(numberToText(back), numberToText(x)) << "the text is stable";
            if (std::fabs(x) == L::max()) {
                EXPECT_EQ(back, x) << numberToText(x).toStdString();
            }
            for (const Value& v : {Value(x), Value(static_cast<float>(x))}) {
                Value again;
                ASSERT_TRUE(parseValue(formatTypedValue(v), again, nullptr))
                    << formatTypedValue(v).toStdString();
                EXPECT_TRUE(again == v) << formatTypedValue(v).toStdString();
            }
        }
}
