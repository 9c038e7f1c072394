// The per-user registry file and self-registration: registering writes our
// entries beside everyone else's, unregistering takes exactly ours away.
#include "frame/component/catalogue_p.h"
#include "frame/component/entry_points.h"
#include "frame/component/registry_p.h"

#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korva;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("config/korva/registry");
        qputenv("KORVA_REGISTRY", path.toLocal8Bit());
    }
    void TearDown() override { qunsetenv("KORVA_REGISTRY"); }

    // The built shared library, as a host loads it: registration names the
    // file the entry points were loaded from, which in this test program
    // (linked with the library's objects) would be the program itself.
    template <class Fn> Fn entry(const char* name) {
        if (!library.isLoaded() && !library.load())
            ADD_FAILURE() << library.errorString().toStdString();
        return reinterpret_cast<Fn>(library.resolve(name));
    }

    QTemporaryDir dir;
    QLibrary library{QStringLiteral(KORVA_BINARY_DIR "/libkorvactl.so")};
    QString path;
};

} // namespace

TEST(RegistryFile, KeepsForeignLinesAndMatchesKeysWithoutCase) {
    QTemporaryDir dir;
    const QString path = dir.filePath("registry");
    const QByteArray original = "# someone's notes\n"
                                "Other.Thing\\CLSID = {11111111-2222-3333-4444-555555555555}\n"
                                "not an entry at all\n"
                                "Empty\\Value =\n";
    writeAll(path, original);
    RegistryFile reg;
    ASSERT_TRUE(reg.load(path));
    EXPECT_EQ(reg.value(u"other.thing\\clsid"), QStringLiteral("{11111111-2222-3333-4444-555555555555}"));
    EXPECT_EQ(reg.value(u"Empty\\Value"), QString());
    EXPECT_EQ(reg.value(u"not an entry at all"), std::nullopt);

    EXPECT_TRUE(reg.set("OTHER.THING\\CLSID", "{replaced}"));
    EXPECT_EQ(reg.entries().front(), (RegistryEntry{"Other.Thing\\CLSID", "{replaced}"}))
        << "replaced in place";
    for (const auto& [key, value] : {std::pair<QString, QString>{"a\nb", "v"},
                                     {"k", "two\nlines"},
                                     {"", "v"},
                                     {" padded", "v"},
                                     {"# comment", "v"},
                                     {"a = b", "v"}})
        EXPECT_FALSE(reg.set(key, value)) << key.toStdString() << " / " << value.toStdString();
    EXPECT_TRUE(reg.remove(u"other.thing\\clsid"));
    EXPECT_FALSE(reg.remove(u"other.thing\\clsid"));
    ASSERT_TRUE(reg.save(path));
    EXPECT_EQ(readAll(path), "# someone's notes\nnot an entry at all\nEmpty\\Value =\n");
}

// Lines someone else wrote come back byte for byte, whatever their line ends,
// encoding or blanks, and a line that only looks like a comment stays one.
TEST(RegistryFile, ForeignLinesSurviveASetAndRemoveByteForByte) {
    const QByteArray cases[] = {
        " #k = v\n",                       // indented: a comment, not the entry "#k"
        "a = 1\r\r\nkey =\r\r\nb = 2\r\n", // CR CR LF and CR LF line ends
        "latin = caf\xe9\n",               // not UTF-8
        "\xef\xbb\xbf"
        "bom = 1\n", // a byte-order mark
        "no final line end = x",
        "tabs\t=\tx\n\n\n",
        "",
    };
    for (const QByteArray& original : cases) {
        SCOPED_TRACE(original.toStdString());
        QTemporaryDir dir;
        const QString path = dir.filePath("registry");
        writeAll(path, original);
        RegistryFile reg;
        ASSERT_TRUE(reg.load(path));
        ASSERT_TRUE(reg.set("korvactl.Pane\\CLSID", "{x}"));
        ASSERT_TRUE(reg.save(path));
        ASSERT_TRUE(reg.load(path));
        EXPECT_EQ(reg.value(u"korvactl.Pane\\CLSID"), QStringLiteral("{x}"));
        EXPECT_TRUE(reg.remove(u"korvactl.Pane\\CLSID"));
        ASSERT_TRUE(reg.save(path));
        EXPECT_EQ(readAll(path), original);
    }
    QTemporaryDir dir;
    writeAll(dir.filePath("r"), " #k = v\nk2 = v2\r\r\n");
    RegistryFile reg;
    ASSERT_TRUE(reg.load(dir.filePath("r")));
    EXPECT_EQ(reg.value(u"#k"), std::nullopt);
    EXPECT_EQ(reg.value(u"k2"), QStringLiteral("v2")) << "a run of CRs before the LF ends the line";
}

TEST_F(RegistryTest, RegisterThenUnregisterLeavesOthersAsTheyWere) {
    const auto DllRegisterServer = entry<DllRegisterServerFn>("DllRegisterServer");
    const auto DllUnregisterServer = entry<DllUnregisterServerFn>("DllUnregisterServer");
    ASSERT_TRUE(DllRegisterServer && DllUnregisterServer);
    ASSERT_EQ(DllRegisterServer(), S_OK) << "creates the folder and the file";
    const QByteArray original = "# shared file\n"
                                "Other.Thing\\CLSID = {11111111-2222-3333-4444-555555555555}\n"
                                "garbage line\n";
    writeAll(path, original);

    ASSERT_EQ(DllRegisterServer(), S_OK);
    ASSERT_EQ(DllRegisterServer(), S_OK); // twice: no duplicates
    RegistryFile reg;
    ASSERT_TRUE(reg.load(path));
    for (const ClassInfo* c : catalogue::classes()) {
        const QString clsid = guidToString(c->clsid);
        EXPECT_EQ(reg.value(QStringLiteral("korvactl.%1\\CLSID").arg(c->name)), clsid);
        const auto server = reg.value(QStringLiteral("CLSID\\%1\\InprocServer32").arg(clsid));
        ASSERT_TRUE(server.has_value());
        EXPECT_TRUE(server->contains("libkorvactl.so")) << server->toStdString();
        EXPECT_TRUE(QFile::exists(*server));
    }
    EXPECT_TRUE(reg.value(u"TypeLib\\{EF90A53A-100F-461D-82DB-5F6D3EDC0054}\\11.0\\409\\linux").has_value());
    std::size_t keys = 0;
    for (const RegistryEntry& e : reg.entries())
        keys += e.key.startsWith("korvactl.Pane\\CLSID") ? 1 : 0;
    EXPECT_EQ(keys, 1u);
    EXPECT_TRUE(readAll(path).startsWith(original));

    ASSERT_EQ(DllUnregisterServer(), S_OK);
    EXPECT_EQ(readAll(path), original);
    ASSERT_EQ(DllUnregisterServer(), S_OK) << "unregistering again is harmless";
    EXPECT_EQ(readAll(path), original);
}

TEST_F(RegistryTest, UnwritableLocationFailsAsRegistrationError) {
    writeAll(dir.filePath("plainfile"), "x");
    qputenv("KORVA_REGISTRY", dir.filePath("plainfile/registry").toLocal8Bit());
    EXPECT_EQ(DllRegisterServer(), SELFREG_E_CLASS);
}
