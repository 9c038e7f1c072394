// Value text syntax, property bag and form files.
#include "frame/values/convert_p.h"
#include "frame/values/form_file_p.h"
#include "frame/values/property_bag.h"
#include "frame/values/value_text_p.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace korva;

namespace {

Picture samplePicture() {
    QImage img(3, 2, QImage::Format_ARGB32); // PNG reads this format back unchanged
    img.fill(qRgba(10, 20, 30, 128));
    img.setPixel(2, 1, qRgba(255, 0, 0, 255));
    return Picture{img};
}

FontSpec sampleFont() { return FontSpec{QStringLiteral("Comic \"Sans\" MS"), 8.25, true, false, true, true}; }

// One value of every type, with the edges each type has.
std::vector<Value> everyKindOfValue() {
    using I = std::numeric_limits<int32_t>;
    using F = std::numeric_limits<float>;
    using D = std::numeric_limits<double>;
    std::vector<Value> out{Value(), Value(true), Value(false)};
    for (int16_t i : {0, -32768, 32767})
        out.emplace_back(i);
    for (int32_t i : {0, -1, 32768, I::min(), I::max()})
        out.emplace_back(i);
    for (float f : {0.1f, 1e20f, -0.0f, F::denorm_min(), F::infinity()})
        out.emplace_back(f);
    for (double d : {0.1, 100.0, 1.0 / 3.0, -1e300, D::denorm_min(), -D::infinity()})
        out.emplace_back(d);
    for (const QString& s :
         {QString(), QStringLiteral("Say \"hi\" = ok"), QStringLiteral("line1\r\nline2\t\x7f"),
          QString(QChar(0xD800)) + QStringLiteral("lone and a pair ") + QString::fromUtf8("\xF0\x9F\x98\x80"),
          QString::fromUtf8("\xE2\x80\xA8 separator")})
        out.emplace_back(s);
    for (uint32_t c : {0x8000000Fu, 0x0000FFu, 0u})
        out.emplace_back(Colour{c});
    for (const Value& v : {Value(FontSpec{}), Value(sampleFont()), Value(Picture{}), Value(samplePicture())})
        out.push_back(v);
    return out;
}

} // namespace

// Typed text gives back the exact value; printed text drops only the width of
// a Long that fits an Integer and the Colour type.
TEST(ValueText, TypedAndPrintedTextRoundTripEveryType) {
    for (const Value& v : everyKindOfValue()) {
        const QString text = formatTypedValue(v);
        Value back, printed;
        QString error;
        ASSERT_TRUE(parseValue(text, back, &error)) << text.toStdString() << ": " << error.toStdString();
        EXPECT_EQ(back.type(), v.type()) << text.toStdString();
        EXPECT_TRUE(back == v) << text.toStdString();
        EXPECT_FALSE(text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
            << text.toStdString();
        ASSERT_TRUE(parseValue(formatValue(v), printed, nullptr)) << formatValue(v).toStdString();
        const bool narrowLong = v.is<int32_t>() && fitsInteger(v.as<int32_t>());
        EXPECT_TRUE(printed == v || narrowLong || v.is<Colour>()) << formatValue(v).toStdString();
    }
    Value nan;
    ASSERT_TRUE(parseValue(formatValue(Value(std::nan(""))), nan, nullptr));
    EXPECT_TRUE(nan.is<double>() && std::isnan(nan.as<double>()));
}

TEST(ValueText, FormatsAsDocumented) {
    const struct {
        Value value;
        const char* printed;
        const char* typed;
    } rows[] = {
        {Value(Colour{0x8000000F}), "-2147483633", "Colour(&H8000000F&)"},
        {Value(Colour{0xFF}), "255", "Colour(&H0000FF&)"},
        {Value(int32_t(0)), "0", "0&"},
        {Value(int16_t(-5)), "-5", "-5"},
        {Value(1.5f), "1.5!", "1.5!"},
        {Value(100.0), "100.0", "100.0"},
        {Value(true), "True", "True"},
        {Value("Say \"hi\""), "\"Say \"\"hi\"\"\"", "\"Say \"\"hi\"\"\""},
        {Value("a\nb"), "\"a\" & Chr(10) & \"b\"", "\"a\" & Chr(10) & \"b\""},
        {Value(FontSpec{QStringLiteral("Tahoma"), 8.25, true, true, false, false}),
         "Font(\"Tahoma\", 8.25, Bold, Italic)", "Font(\"Tahoma\", 8.25, Bold, Italic)"},
        {Value(Picture{}), "Nothing", "Nothing"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(formatValue(row.value).toStdString(), row.printed);
        EXPECT_EQ(formatTypedValue(row.value).toStdString(), row.typed);
    }
}

TEST(ValueText, ParsesWhatAPersonTypes) {
    const struct {
        const char* text;
        Value expected;
    } rows[] = {
        {" tRUE ", Value(true)},
        {"32767", Value(int16_t(32767))},
        {"32768", Value(int32_t(32768))},
        {"-2147483648", Value(std::numeric_limits<int32_t>::min())},
        {"3000000000", Value(3e9)},
        {"&HFFFF", Value(int16_t(-1))},
        {"&H8000", Value(int16_t(-32768))},
        {"&HFFFF&", Value(int32_t(65535))},
        {"&h12345", Value(int32_t(0x12345))},
        {"&HFFFFFFFF", Value(int32_t(-1))},
        {"5%", Value(int16_t(5))},
        {"5&", Value(int32_t(5))},
        {"5!", Value(5.0f)},
        {"5#", Value(5.0)},
        {".5", Value(0.5)},
        {"-1E3", Value(-1000.0)},
        {"colour(255)", Value(Colour{255})},
        {"Color(-2147483633)", Value(Colour{0x8000000F})},
        {"Colour( &H8000000F& )", Value(Colour{0x8000000F})},
        {"Chr(65) & \"B\" & Chr(&H43)", Value("ABC")},
        {"font ( \"Arial\" , 12 , strikethrough , bold )",
         Value(FontSpec{QStringLiteral("Arial"), 12, true, false, false, true})},
        {"Picture()", Value(Picture{})},
        {"empty", Value()},
    };
    for (const auto& row : rows) {
        Value v;
        QString error;
        ASSERT_TRUE(parseValue(QString::fromUtf8(row.text), v, &error))
            << row.text << ": " << error.toStdString();
        EXPECT_EQ(v.type(), row.expected.type()) << row.text;
        EXPECT_TRUE(v == row.expected) << row.text << " gave " << formatTypedValue(v).toStdString();
    }
}

TEST(ValueText, ErrorsSayWhatWasExpectedWhere) {
    const struct {
        const char* text;
        int column;
        const char* fragment;
    } rows[] = {
        {"", 1, "expected a value"},
        {"  \"abc", 3, "not closed"},
        {"12 13", 4, "unexpected text after the value"},
        {"40000%", 1, "out of range for an Integer"},
        {"1.5&", 4, "must be a whole number"},
        {"&HG", 3, "hexadecimal digits"},
        {"&H123456789", 1, "wider than 32 bits"},
        {"1e", 3, "exponent"},
        {"1e999", 1, "out of range for a Double"},
        {"1e39!", 1, "out of range for a Single"},
        {"maybe", 1, "a word must be"},
        {"\"a\" & 5", 7, "Chr(n) after &"},
        {"Chr(70000)", 5, "0 to 65535"},
        {"Colour(1.5)", 9, "')' after the colour"},
        {"Font(\"A\" 8)", 10, "',' and the font size"},
        {"Font(\"A\", 8, Heavy)", 14, "expected Bold, Italic"},
        {"Font(\"A\", 8, Bold, bold)", 20, "given twice"},
        {"Picture(AA@A)", 11, "base64"},
        {"Picture(AAAA)", 9, "not a readable PNG"},
        {"Picture(AAAA", 8, "not closed"},
    };
    for (const auto& row : rows) {
        Value v(int16_t(7));
        ValueParseError e;
        EXPECT_FALSE(parseValue(QString::fromUtf8(row.text), v, e)) << row.text;
        EXPECT_EQ(e.column, row.column) << row.text << ": " << e.message.toStdString();
        EXPECT_TRUE(e.message.contains(QLatin1String(row.fragment)))
            << row.text << ": " << e.message.toStdString();
        EXPECT_TRUE(v == Value(int16_t(7))) << "output changed by a failed parse of " << row.text;
    }
    QString message;
    Value v;
    EXPECT_FALSE(parseValue(u"12 13", v, &message));
    EXPECT_TRUE(message.startsWith(QLatin1String("column 4: "))) << message.toStdString();
}

TEST(ValueText, HugeInputIsHandledAndQuotedBriefly) {
    const QString big(2'000'000, QLatin1Char('x'));
    Value v;
    ASSERT_TRUE(parseValue(formatValue(Value(big)), v, nullptr));
    EXPECT_TRUE(v == Value(big));
    ValueParseError e;
    EXPECT_FALSE(parseValue(QStringLiteral("1 ") + big, v, e));
    EXPECT_LT(e.message.size(), 200);
    EXPECT_FALSE(parseValue(QString(1'000'000, QLatin1Char('"')) + QLatin1Char('"'), v, e));
}

TEST(PropertyBag, KeysMatchWithoutCaseAndKeepTheLatestSpelling) {
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Backcolor"), Value(int32_t(5)));
    bag.WriteProperty(QStringLiteral("Text"), Value("a"));
    EXPECT_TRUE(bag.ReadProperty(QStringLiteral("BACKCOLOR"), Value()) == Value(int32_t(5)));
    EXPECT_TRUE(bag.ReadProperty(QStringLiteral("Missing"), Value(true)) == Value(true));
    bag.WriteProperty(QStringLiteral("BackColor"), Value(int32_t(6)));
    ASSERT_EQ(bag.size(), 2);
    EXPECT_EQ(bag.entries()[0].key, QStringLiteral("BackColor"));
    EXPECT_TRUE(bag.entries()[0].value == Value(int32_t(6)));
    EXPECT_TRUE(bag.contains(QStringLiteral("text")));
}

TEST(PropertyBag, ValueEqualToDefaultIsLeftOut) {
    const struct {
        Value value;
        Value defaultValue;
        bool omitted;
    } rows[] = {
        {Value(int32_t(0)), Value(int16_t(0)), true},
        {Value(0.5f), Value(0.5), true},
        {Value(Colour{0x8000000F}), Value(int32_t(0x8000000F)), true},
        {Value(FontSpec{}), Value(FontSpec{}), true},
        {Value(0.1f), Value(0.1), false},
        {Value(true), Value(int16_t(-1)), false},
        {Value("0"), Value(int16_t(0)), false},
        {Value(), Value(int16_t(0)), false},
    };
    for (const auto& row : rows) {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Key"), row.value, row.defaultValue);
        EXPECT_EQ(bag.isEmpty(), row.omitted) << formatTypedValue(row.value).toStdString() << " vs "
                                              << formatTypedValue(row.defaultValue).toStdString();
    }
    // Writing the default later drops the earlier entry, and the rest stay findable.
    PropertyBag bag;
    for (const char* key : {"A", "B", "C"})
        bag.WriteProperty(QString::fromLatin1(key), Value(int16_t(1)));
    bag.WriteProperty(QStringLiteral("b"), Value(int16_t(0)), Value(int16_t(0)));
    ASSERT_EQ(bag.size(), 2);
    bag.WriteProperty(QStringLiteral("c"), Value(int16_t(9)));
    EXPECT_EQ(bag.entries()[1].key, QStringLiteral("c"));
    EXPECT_TRUE(bag.ReadProperty(QStringLiteral("C"), Value()) == Value(int16_t(9)));

    // A bag that keeps defaults stores them like any value.
    PropertyBag listing;
    listing.setKeepDefaults(true);
    listing.WriteProperty(QStringLiteral("Max"), Value(int32_t(10)), Value(int32_t(10)));
    ASSERT_EQ(listing.size(), 1);
    EXPECT_TRUE(listing.entries()[0].value == Value(int32_t(10)));
}

namespace {

FormDocument sampleDocument() {
    FormDocument doc;
    FormControl pane{QStringLiteral("korvactl.Pane"), QStringLiteral("Pane1"), 240, -240, 3000, 800, {}};
    for (const Value& v : everyKindOfValue())
        pane.bag.WriteProperty(QStringLiteral("Key") + QString::number(pane.bag.size()), v);
    pane.bag.WriteProperty(QStringLiteral("Odd = \"key\"\n"), Value(samplePicture()));
    doc.controls.push_back(pane);
    doc.controls.push_back(
        FormControl{QStringLiteral("korvactl.Spin"), QStringLiteral("Spin1"), 0, 0, 1, 2, {}});
    return doc;
}

} // namespace

TEST(FormFile, DocumentRoundTripsThroughText) {
    const FormDocument doc = sampleDocument();
    const QString text = writeForm(doc);
    FormDocument back;
    FormError err;
    ASSERT_TRUE(parseForm(text, QStringLiteral("t.form"), back, err)) << err.toString().toStdString();
    EXPECT_TRUE(back == doc) << text.toStdString();
    for (QStringView line : QStringView(text).split(u'\n'))
        EXPECT_LE(line.size(), 100); // pictures are spread over short lines
}

TEST(FormFile, ReadsWhatAPersonWrites) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("hand.form")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF# made by hand\r\nKORVACTL FORM 1\r\n\r\n"
               "begin korvactl.Pane Pane1\r\n  # geometry in any order\r\n  height=800\r\n  WIDTH = 3000\r\n"
               "  Top = 1\r\n  Left = 2\r\n  property \"Backcolor\" = colour(&H8000000F&)\r\n"
               "  Property \"Caption\" = \"\xC3\x96"
               "ffnen\"\r\nend");
    file.close();
    FormDocument doc;
    FormError err;
    ASSERT_TRUE(loadForm(file.fileName(), doc, err)) << err.toString().toStdString();
    ASSERT_EQ(doc.controls.size(), 1u);
    const FormControl& c = doc.controls[0];
    EXPECT_EQ(c.left, 2);
    EXPECT_EQ(c.height, 800);
    EXPECT_TRUE(c.bag.ReadProperty(QStringLiteral("BACKCOLOR"), Value()) == Value(Colour{0x8000000F}));
    EXPECT_TRUE(c.bag.ReadProperty(QStringLiteral("Caption"), Value()) == Value(QString::fromUtf8("\xC3\x96"
                                                                                                  "ffnen")));
}

TEST(FormFile, MalformedFilesGiveLocatedErrorsAndLoadNothing) {
    const QString head =
        QStringLiteral("korvactl form 1\nBegin korvactl.Pane P\nLeft = 0\nTop = 0\nWidth = 1\nHeight = 1\n");
    const struct {
        QString text;
        int line;
        const char* fragment;
    } rows[] = {
        {QString(), 1, "expected the header"},
        {QStringLiteral("# only a comment\nkorvactl form"), 2, "expected the header"},
        {QStringLiteral("korvactl form 2\n"), 1, "newer than this library"},
        {QStringLiteral("korvactl form 1\nEnd\n"), 2, "End without a matching Begin"},
        {QStringLiteral("korvactl form 1\nLeft = 5\n"), 2, "expected Begin"},
        {QStringLiteral("korvactl form 1\nBegin korvactl.Pane\n"), 2, "control's name"},
        {QStringLiteral("korvactl form 1\nBegin korvactl.Pane P extra\n"), 2, "unexpected text"},
        {head + QStringLiteral("Colour = 5\nEnd\n"), 7, "unknown statement"},
        {head + QStringLiteral("Left = 3\nEnd\n"), 7, "Left is given twice"},
        {head + QStringLiteral("Begin korvactl.Pane Q\n"), 7, "expected End first"},
        {head + QStringLiteral("Property \"A\" = 1\n"), 7, "expected End for control P"},
        {head + QStringLiteral("End\nBegin korvactl.Spin p\n"), 8, "duplicate control name"},
        {head + QStringLiteral("Property \"A\" = 1\nProperty \"a\" = 2\nEnd\n"), 8, "given twice"},
        {head + QStringLiteral("Property \"A\" = Font(\"x\")\nEnd\n"), 7, "font size"},
        {head + QStringLiteral("Property A = 1\nEnd\n"), 7, "in the property key"},
        {head + QStringLiteral("Property \"A\" 1\nEnd\n"), 7, "expected Property \"KEY\" = VALUE"},
        {head + QStringLiteral("Property \"A\" = Picture(\nAAAA\nEnd\n"), 9,
         "to close the picture begun on line 7"},
        {head + QStringLiteral("Property \"A\" = Picture(\nAA AA\n)\nEnd\n"), 8, "expected base64"},
        {head + QStringLiteral("Property \"A\" = Picture(\nAAAA\n)\nEnd\n"), 7, "not a readable PNG"},
        {QStringLiteral("korvactl form 1\nBegin korvactl.Pane P\nLeft = 1.5\n"), 3, "whole number of twips"},
        {QStringLiteral("korvactl form 1\nBegin korvactl.Pane P\nLeft = 99999999999\n"), 3,
         "whole number of twips"},
        {QStringLiteral("korvactl form 1\nBegin korvactl.Pane P\nWidth = -1\n"), 3, "must not be negative"},
        {QStringLiteral("korvactl form 1\nBegin korvactl.Pane P\nLeft 1\n"), 3, "expected '=' after Left"},
        {QStringLiteral("korvactl form 1\nBegin korvactl.Pane P\nLeft = 0\nTop = 0\nWidth = 0\nEnd\n"), 6,
         "has no Height"},
    };
    for (const auto& row : rows) {
        FormDocument doc = sampleDocument();
        FormError err;
        EXPECT_FALSE(parseForm(row.text, QStringLiteral("bad.form"), doc, err)) << row.text.toStdString();
        EXPECT_EQ(err.line, row.line) << err.toString().toStdString();
        EXPECT_GT(err.column, 0) << err.toString().toStdString();
        EXPECT_TRUE(err.message.contains(QLatin1String(row.fragment))) << err.toString().toStdString();
        EXPECT_TRUE(doc.controls.empty()) << "half-loaded: " << row.text.toStdString();
    }
    const FormError e{QStringLiteral("f.form"), 3, 7, QStringLiteral("bad")};
    EXPECT_EQ(e.toString(), QStringLiteral("f.form:3:7: bad"));
}

TEST(FormFile, RefusesFilesItCannotReadOrWrite) {
    QTemporaryDir dir;
    FormDocument doc = sampleDocument();
    FormError err;
    EXPECT_FALSE(loadForm(dir.filePath(QStringLiteral("missing.form")), doc, err));
    EXPECT_TRUE(doc.controls.empty());
    EXPECT_EQ(err.toString().left(err.file.size() + 2), err.file + QLatin1String(": "));

    QFile huge(dir.filePath(QStringLiteral("huge.form")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(kMaxFormFileBytes + 1));
    huge.close();
    EXPECT_FALSE(loadForm(huge.fileName(), doc, err));
    EXPECT_TRUE(err.message.contains(QLatin1String("64 MiB"))) << err.toString().toStdString();

    QFile binary(dir.filePath(QStringLiteral("binary.form")));
    ASSERT_TRUE(binary.open(QIODevice::WriteOnly));
    binary.write("korvactl form 1\n# fine\nBegin \xFF\xFE korvactl\n");
    binary.close();
    EXPECT_FALSE(loadForm(binary.fileName(), doc, err));
    EXPECT_EQ(err.line, 3);
    EXPECT_TRUE(err.message.contains(QLatin1String("UTF-8")));

    // A document that cannot be written faithfully leaves the old file alone.
    const QString path = dir.filePath(QStringLiteral("keep.form"));
    QString error;
    ASSERT_TRUE(saveForm(path, sampleDocument(), &error));
    FormDocument bad = sampleDocument();
    bad.controls[1].name = QStringLiteral("pane1"); // clashes with Pane1
    EXPECT_FALSE(saveForm(path, bad, &error));
    EXPECT_TRUE(error.contains(QLatin1String("duplicate control name"))) << error.toStdString();
    bad.controls[1].name = QStringLiteral("two words");
    EXPECT_FALSE(saveForm(path, bad, &error));
    ASSERT_TRUE(loadForm(path, doc, err)) << err.toString().toStdString();
    EXPECT_TRUE(doc == sampleDocument());
    EXPECT_FALSE(saveForm(dir.filePath(QStringLiteral("no/such/dir/x.form")), doc, &error));
    EXPECT_TRUE(error.contains(QLatin1String("cannot write"))) << error.toStdString();
}
