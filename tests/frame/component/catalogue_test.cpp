// The published identity of the library: every identifier, the enumerations'
// exact member names, and the checked-in IDL against the catalogue.
#include "frame/component/catalogue_p.h"
#include "frame/component/type_library_p.h"

#include <QFile>

#include <tuple>

#include <gtest/gtest.h>

using namespace korva;

namespace {

struct ClassRow {
    const char* name;
    const char* clsid;
    const char* iid;
    const char* eventIid;
};

const ClassRow kClasses[] = {
    {"Spin", "{75D3E93A-B635-49FF-9539-7117E1A61569}", "{42773121-1B8D-4900-B0C3-9E93C163FF7E}",
     "{AED87038-98E1-429B-B9D4-D5F8B7B3CF6E}"},
    {"Pages", "{02DD5566-74A6-42F5-A281-5C17CA9046C1}", "{55CAAC77-DAAA-4895-9D0F-3C6EA28A53A5}",
     "{07C7B03E-BA18-4FE0-8DCB-1D0E5C794899}"},
    {"Colors", "{EEE17B89-4055-4EDF-9C93-0AA96ED4DFF2}", "{A19F61AC-985B-4887-9F82-929BDF53A87B}",
     "{CA50F538-4F0A-4835-A768-760147027E47}"},
    {"Pane", "{6B8DF25F-93AC-4C55-8A8A-EB057AEAE293}", "{5DF99A74-75A0-4783-A4CE-273A4958E269}",
     "{AB6DFAEE-8562-46AD-B2B8-14869FFC1529}"},
};

} // namespace

TEST(Catalogue, LibraryIdentity) {
    const LibraryInfo& lib = catalogue::library();
    EXPECT_EQ(std::tuple(lib.name, guidToString(lib.libid), lib.majorVersion, lib.minorVersion, lib.lcid),
              std::tuple("korvactl", "{EF90A53A-100F-461D-82DB-5F6D3EDC0054}", 11, 0, 0x0409u));
}

TEST(Catalogue, ClassesCarryTheirIdentifiersInOrder) {
    ASSERT_EQ(catalogue::classes().size(), std::size(kClasses));
    for (std::size_t i = 0; i < std::size(kClasses); ++i) {
        const ClassRow& row = kClasses[i];
        SCOPED_TRACE(row.name);
        const ClassInfo* c = catalogue::classes()[i];
        EXPECT_EQ(c->name, row.name);
        EXPECT_EQ(guidToString(c->clsid), row.clsid);
        EXPECT_EQ(guidToString(c->defaultIid), row.iid);
        EXPECT_EQ(guidToString(c->eventIid), row.eventIid);
        EXPECT_EQ(c->defaultInterface, QStringLiteral("_") + row.name);
        EXPECT_EQ(c->eventInterface, QStringLiteral("__") + row.name);
        EXPECT_EQ(c->progId(), QStringLiteral("korvactl.") + row.name);
        EXPECT_FALSE(c->designSize.isEmpty());
        EXPECT_EQ(catalogue::byClsid(c->clsid), c);
        EXPECT_EQ(catalogue::byName(QString::fromLatin1(row.name).toLower()), c);
        EXPECT_EQ(catalogue::byName(QStringLiteral("KORVACTL.") + row.name), c);
    }
    EXPECT_EQ(catalogue::byName(u"Pane")->designSize, QSize(1575, 525));
    EXPECT_EQ(catalogue::byName(u"korvactl."), nullptr);
    EXPECT_EQ(catalogue::byName(u"other.Pane"), nullptr);
    EXPECT_EQ(catalogue::byClsid(catalogue::library().libid), nullptr);
}

TEST(Catalogue, RegisteredClassesNumberTheirEventsFromOne) {
    for (const ClassInfo* c : catalogue::classes())
        for (std::size_t i = 0; i < c->events.size(); ++i)
            EXPECT_EQ(c->events[i].number, static_cast<int32_t>(i + 1)) << c->name.toStdString();
    const ClassInfo* pane = catalogue::byName(u"Pane");
    ASSERT_NE(pane->create, nullptr) << "Pane is built into the library";
    EXPECT_NE(pane->memberByName(u"textcaption"), nullptr);
}

TEST(Catalogue, EnumerationsKeepTheirPublishedNames) {
    const auto& e = catalogue::enumerations();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].name, "ButtonTypesdd");
    EXPECT_EQ(guidToString(e[0].id), "{D03C85B7-A30D-40B4-B549-266D4A55C3DA}");
    const QStringList buttonTypes = {
        "CButton",      "CButton Flat",        "Combo Box",  "Combo Box Flat",
        "Toolbar",      "Toolbar Checked",     "Hyperlink",  "Hyperlink White",
        "Spin Button",  "Spin Button Pressed", "Windows XP", "Toolbar Tab Selected",
        "Toolbar Tab ", "Windows XP Toolbar"};
    // Names in order, numbered from `first`.
    const auto expectMembers = [](const auto& members, const QStringList& names, int first) {
        ASSERT_EQ(members.size(), static_cast<std::size_t>(names.size()));
        for (qsizetype i = 0; i < names.size(); ++i)
            EXPECT_EQ(members[i], std::pair(names[i], static_cast<int>(first + i)));
    };
    expectMembers(e[0].members, buttonTypes, 1);
    EXPECT_EQ(e[0].members[12].first.size(), 12) << "\"Toolbar Tab \" keeps its trailing space";

    EXPECT_EQ(e[1].name, "enZAVINPalette");
    EXPECT_EQ(guidToString(e[1].id), "{CB68F48B-4C7A-4486-BFDE-5530FC36550C}");
    const QStringList layouts = {"AP8X2",   "AP9X3",   "AP8X8",    "AP16X8",   "AP24X8",   "AP24X10",
                                 "AP8X4X4", "AP8X8X6", "AP12X6X6", "AP16X8X6", "AP24X8X6", "AP32X8X6"};
    expectMembers(e[1].members, layouts, 0);
}

// The IDL ships as source; when a control adds or changes a member, this
// fails and leaves the text to check in beside the build.
TEST(Catalogue, CheckedInIdlMatchesTheCatalogue) {
    const QString generated = typeLibraryIdl();
    QFile f(QStringLiteral(KORVA_SOURCE_DIR) + QStringLiteral("/frame/component/korvactl.idl"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "frame/component/korvactl.idl is missing";
    const QString checkedIn = QString::fromUtf8(f.readAll());
    if (checkedIn != generated) {
        const QString out = QStringLiteral(KORVA_BINARY_DIR) + QStringLiteral("/korvactl.idl");
        QFile w(out);
        if (w.open(QIODevice::WriteOnly))
            w.write(generated.toUtf8());
        FAIL() << "frame/component/korvactl.idl is out of date; the current text is in " << out.toStdString();
    }
    for (const ClassRow& row : kClasses) {
        EXPECT_TRUE(generated.contains(QString::fromLatin1(row.clsid).mid(1, 36))) << row.name;
        EXPECT_TRUE(generated.contains(QStringLiteral("coclass %1 {").arg(row.name))) << row.name;
    }
    EXPECT_TRUE(generated.contains(QStringLiteral("        Toolbar Tab  = 13,")));
}
