// Where a script's files may be: relative to its folder, and while confined
// nowhere else, however the path is spelled.
#include "host/script.h"

#include <gtest/gtest.h>

using namespace korva::host;

TEST(ScriptFiles, ConfinedScriptsReachOnlyTheirOwnFolder) {
    KorvaLibrary library; // not loaded: resolving paths needs none
    FormHost form(library, [](const QString&) {});
    ScriptRunner runner(
        form, library, [](const QString&) {}, QStringLiteral("/scratch/run"));
    EXPECT_EQ(runner.resolve("a.form"), "/scratch/run/a.form");
    EXPECT_EQ(runner.resolve("/etc/passwd"), "/etc/passwd") << "a script run by hand may name any file";

    runner.confineFilesToBaseDir(true);
    const struct {
        const char* path;
        const char* resolved;
    } cases[] = {
        {"a.form", "/scratch/run/a.form"},
        {"sub/../b.png", "/scratch/run/b.png"},
        {"/scratch/run/c.form", "/scratch/run/c.form"},
        {"../x.form", ""},
        {"sub/../../x.form", ""},
        {"/etc/passwd", ""},
        {"/scratch/runner/x.form", ""},
        {".", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runner.resolve(QString::fromUtf8(c.path)), QString::fromUtf8(c.resolved)) << c.path;
}
