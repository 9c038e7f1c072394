// The tab string helpers, on their own: field extraction, counting, the line
// break separators and the captions fields give.
#include "pages/tab_string_p.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace korva::pages;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

TEST(TabString, GetFieldTable) {
    struct Row {
        QString text, sep;
        int32_t n;
        QString want;
    };
    const Row rows[] = {
        {"x,y,z", ",", 1, "x"},     {"x,y,z", ",", 2, "y"},  {"x,y,z", ",", 3, "z"}, {"x,y,z", ",", 4, "0"},
        {"x,y,z", ",", 0, "0"},     {"x,y,z", ",", -1, "0"}, {"", ",", 1, ""},       {"", ",", 2, "0"},
        {",", ",", 1, ""},          {",", ",", 2, ""},       {"a,,b", ",", 2, ""},   {"a,b,", ",", 3, ""},
        {"x,y", ";", 1, "x,y"},                             // no separator: the whole text is field 1
        {"x,y", ",,", 1, "x,y"},                            // a longer separator never matches
        {"x,y", ",,", 2, "0"},      {"X,Y", "x", 1, "X,Y"}, // exact, case-sensitive comparison
        {" a , b ", ",", 2, " b "},                         // no trimming here
    };
    for (const Row& r : rows) {
        SCOPED_TRACE((r.text + " / " + r.sep + " / " + QString::number(r.n)).toStdString());
        EXPECT_EQ(GetField(r.text, r.sep, r.n), r.want);
    }
}

TEST(TabString, CountFieldsAndNormalisedTextTable) {
    struct Row {
        QString text;
        int32_t count;
        QString normalised;
    };
    const Row rows[] = {
        {"", 0, ""},
        {"   ", 0, ""},
        {"abc", 1, "abc"},
        {"a,", 2, "a,"},
        {",", 2, ","},
        {"1,2,3", 3, "1,2,3"},
        {"X-" + kCrLf + "Y" + kCrLf + "Z", 3, "X,Y,Z"},
        {"X-Y,Z", 2, "X-Y,Z"},
        {" " + kCrLf + "A" + kCrLf + " ", 3, ",A,"},
        {"A\rB\nC", 1, "A\rB\nC"},        // lone CR and LF separate nothing
        {"A\tB", 1, "A\tB"},              // tabs stay
        {"A--" + kCrLf + "B", 2, "A-,B"}, // only the hyphen right before the break goes
        {"-" + kCrLf, 2, ","},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text.toStdString());
        EXPECT_EQ(CountFields(r.text), r.count);
        EXPECT_EQ(normaliseTabString(r.text), r.normalised);
    }
}

// One pass over the text must give what field-by-field extraction gives.
TEST(TabString, SplitAgreesWithGetFieldForEveryField) {
    const QString texts[] = {"", "a", "a,b", ",", ",,", "a,,b,", " x , y ", "Home,Help,Video,\t,\r"};
    for (const QString& t : texts) {
        const QStringList fields = splitFields(t);
        ASSERT_EQ(fields.size(), CountFields(t)) << t.toStdString();
        for (qsizetype i = 0; i < fields.size(); ++i)
            EXPECT_EQ(fields[i], GetField(t, ",", static_cast<int32_t>(i + 1))) << t.toStdString();
    }
}

TEST(TabString, CaptionsAndSpecialCaptions) {
    EXPECT_EQ(captionOfField(" Home ", 1), "Home");
    EXPECT_EQ(captionOfField("", 2), "Tab 2");
    EXPECT_EQ(captionOfField("   ", 12), "Tab 12");
    EXPECT_EQ(captionOfField("\t", 3), "\t");
    EXPECT_EQ(trimSpaces("  a b  "), "a b");

    struct Row {
        QString caption;
        bool help, video, chalkboard;
    };
    const Row rows[] = {{"Help", true, false, false},     {"Online Help", true, false, false},
                        {"help", false, false, false},    {"Video Chalkboard", false, true, true},
                        {"HelpVideo", true, true, false}, {"chalkboard", false, false, false}};
    for (const Row& r : rows) {
        const SpecialCaption s = specialCaption(r.caption);
        EXPECT_EQ(std::tuple(s.help, s.video, s.chalkboard), std::tuple(r.help, r.video, r.chalkboard))
            << r.caption.toStdString();
    }
}

} // namespace
