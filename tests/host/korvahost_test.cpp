// korvahost end to end: scripts run headless against the built binary, which
// loads the library through its entry points like any other host.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct HostRun {
    int exitCode = -1;
    QStringList lines; // stdout
    QString err;
};

QString binaryDir() { return QStringLiteral(KORVA_BINARY_DIR); }

class KorvaHost : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& name) const { return dir.filePath(name); }

    void write(const QString& name, const QByteArray& text) const {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    HostRun korvahost(const QStringList& args, const QString& library = {}) const {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("KORVA_REGISTRY", path("registry"));
        env.remove("KORVA_LIBRARY");
        if (!library.isEmpty())
            env.insert("KORVA_LIBRARY", library);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.path());
        p.start(binaryDir() + "/host/korvahost", args);
        HostRun r;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            r.err = "timed out";
            return r;
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    HostRun script(const QByteArray& text, QStringList extra = {}) const {
        write("test.kvs", text);
        return korvahost(QStringList{"--script", path("test.kvs")} + extra);
    }

    QTemporaryDir dir;
};

std::string show(const HostRun& r) { return (r.lines.join('\n') + "\n--- stderr:\n" + r.err).toStdString(); }

} // namespace

TEST_F(KorvaHost, MembersEventsAndBag) {
    const HostRun r = script("new korvactl.Pane P   # design size\n"
                             "get P.TextCaption\n"
                             "let p.textcaption \"Say \"\"hi\"\" # not a comment\"\n"
                             "get P.TextCaption\n"
                             "let P.TextCaption 5#\n"
                             "get P.TextCaption\n"
                             "notify P.imgMAIN Click\n"
                             "notify P.lblTEST DblClick\n"
                             "mouse P dblclick 20 20\n"
                             "bag P\n");
    EXPECT_EQ(r.exitCode, 0) << show(r);
    EXPECT_EQ(r.lines,
              QStringList({"P.TextCaption = \"\"", "P.TextCaption = \"Say \"\"hi\"\" # not a comment\"",
                           "P.TextCaption = \"5\"", "event P.Click()", "event P.Click()", "event P.Click()",
                           "event P.Click()", "Backcolor = 0", "TextCaption = \"5\"", "Enabled = True"}))
        << show(r);
}

TEST_F(KorvaHost, FailingLinesAreReportedAndTheScriptGoesOn) {
    const HostRun r = script("new Pane P\n"
                             "new Pane P\n"
                             "new Gizmo G\n"
                             "new Pane 9lives\n"
                             "get Q.TextCaption\n"
                             "get P.Nothing\n"
                             "get P.Enabled\n"
                             "let P.Enabled Font(\"Tahoma\", 8)\n"
                             "let P.TextCaption \"open\n"
                             "call P.TextCaption\n"
                             "notify P.imgNONE Click\n"
                             "notify P Wiggle\n"
                             "mouse P hop 1 1\n"
                             "key P press 9999\n"
                             "tick -5\n"
                             "pixel P 5000 5\n"
                             "frob\n"
                             "\n"
                             "get P.TextCaption\n");
    EXPECT_EQ(r.exitCode, 1) << show(r);
    const QStringList expected = {"error 2: ",  "already exists",
                                  "error 3: ",  "unknown class Gizmo",
                                  "error 4: ",  "9lives",
                                  "error 5: ",  "no control named Q",
                                  "error 6: ",  "no member Nothing",
                                  "error 7: ",  "cannot be read",
                                  "error 8: ",  "type mismatch",
                                  "error 9: ",  "unclosed string",
                                  "error 10: ", "not a method",
                                  "error 11: ", "imgNONE",
                                  "error 12: ", "Wiggle",
                                  "error 13: ", "hop",
                                  "error 14: ", "9999",
                                  "error 15: ", "tick",
                                  "error 16: ", "outside",
                                  "error 17: ", "unknown command frob"};
    ASSERT_EQ(r.lines.size(), expected.size() / 2 + 1) << show(r);
    for (qsizetype i = 0; i < expected.size(); i += 2) {
        EXPECT_TRUE(r.lines[i / 2].startsWith(expected[i])) << r.lines[i / 2].toStdString();
        EXPECT_TRUE(r.lines[i / 2].contains(expected[i + 1])) << r.lines[i / 2].toStdString();
    }
    EXPECT_EQ(r.lines.last(), "P.TextCaption = \"\"");
}

// A control at the largest position leaves no room below it: `new` says so
// instead of computing a top past the 32-bit range.
TEST_F(KorvaHost, NewBelowAControlAtTheLargestTopFailsClearly) {
    write("low.form", "korvactl form 1\nBegin korvactl.Pane Low\n    Left = 0\n    Top = 2147483647\n"
                      "    Width = 1575\n    Height = 525\nEnd\n");
    const HostRun r = script("load low.form\n"
                             "new Pane X\n"
                             "get X.TextCaption\n");
    EXPECT_EQ(r.exitCode, 1) << show(r);
    ASSERT_EQ(r.lines.size(), 2) << show(r);
    EXPECT_TRUE(r.lines[0].startsWith("error 2: no room for X")) << show(r);
    EXPECT_TRUE(r.lines[1].startsWith("error 3: no control named X")) << show(r);
}

// The scripted clock drives the leave check: the highlight stays until a
// 100 ms tick finds the cursor outside.
TEST_F(KorvaHost, TickFiresTimersOnTheScriptedClock) {
    const HostRun r = script("new Pane P\n"
                             "pixel P 45 25\n"
                             "mouse P move 45 25\n"
                             "pixel P 45 25\n"
                             "cursor 600 600\n"
                             "tick 99\n"
                             "pixel P 45 25\n"
                             "tick 1\n"
                             "pixel P 45 25\n");
    ASSERT_EQ(r.exitCode, 0) << show(r);
    ASSERT_EQ(r.lines.size(), 4) << show(r);
    const QRegularExpression format("^P\\(45,25\\) = &H[0-9A-F]{6}&$");
    for (const QString& l : r.lines)
        EXPECT_TRUE(format.match(l).hasMatch()) << l.toStdString();
    EXPECT_NE(r.lines[1], r.lines[0]) << "hover shows the highlight picture";
    EXPECT_EQ(r.lines[2], r.lines[1]) << "not yet due";
    EXPECT_EQ(r.lines[3], r.lines[0]) << "the leave check restored the normal look";
}

TEST_F(KorvaHost, SaveLoadAndScreenshotRoundTrip) {
    HostRun r = script("new Pane A 3000 800\n"
                       "new Pane B\n"
                       "let A.TextCaption \"Open\"\n"
                       "let B.Enabled False\n"
                       "save form.form\n"
                       "grab A a.png\n");
    ASSERT_EQ(r.exitCode, 0) << show(r);
    QImage grabbed(path("a.png"));
    EXPECT_EQ(grabbed.size(), QSize(200, 53)) << "3000 x 800 twips at 15 twips a pixel";

    write("bad.form", "korvactl form 1\nBegin korvactl.Pane X\n    Left = nowhere\n");
    r = script("new Pane Keep\n"
               "load bad.form\n"
               "get Keep.TextCaption\n"
               "load form.form\n"
               "get A.TextCaption\n"
               "get Keep.TextCaption\n"
               "bag B\n");
    EXPECT_EQ(r.exitCode, 1) << show(r);
    ASSERT_EQ(r.lines.size(), 7) << show(r);
    EXPECT_TRUE(r.lines[0].startsWith("error 2: ") && r.lines[0].contains("bad.form:3:")) << show(r);
    EXPECT_EQ(r.lines[1], "Keep.TextCaption = \"\"") << "a failed load changes nothing";
    EXPECT_EQ(r.lines[2], "A.TextCaption = \"Open\"");
    EXPECT_TRUE(r.lines[3].startsWith("error 6: no control named Keep")) << "load replaces the form";
    EXPECT_EQ(r.lines.mid(4), QStringList({"Backcolor = 0", "TextCaption = \"\"", "Enabled = False"}));

    r = script("get A.TextCaption\n", {"--form", path("form.form")});
    EXPECT_EQ(r.exitCode, 0) << show(r);
    EXPECT_EQ(r.lines, QStringList({"A.TextCaption = \"Open\""}));

    r = korvahost({path("form.form"), "--screenshot", path("shot.png")});
    EXPECT_EQ(r.exitCode, 0) << show(r);
    const QImage shot(path("shot.png"));
    EXPECT_EQ(shot.size(), QSize(200, 53 + 35)) << "both panes, one below the other";
}

TEST_F(KorvaHost, RegistersThroughTheEntryPointsAndExportsPalettes) {
    HostRun r = korvahost({"--register"});
    ASSERT_EQ(r.exitCode, 0) << show(r);
    QFile reg(path("registry"));
    ASSERT_TRUE(reg.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(reg.readAll());
    reg.close();
    EXPECT_TRUE(text.contains("korvactl.Pane\\CLSID = {6B8DF25F-93AC-4C55-8A8A-EB057AEAE293}"))
        << text.toStdString();
    r = korvahost({"--unregister"});
    ASSERT_EQ(r.exitCode, 0) << show(r);
    ASSERT_TRUE(reg.open(QIODevice::ReadOnly));
    EXPECT_EQ(reg.readAll(), QByteArray());
    reg.close();

    r = korvahost({"--export-palette", "AP8X2", path("p.gpl")});
    EXPECT_EQ(r.exitCode, 0) << show(r);
    QFile gpl(path("p.gpl"));
    ASSERT_TRUE(gpl.open(QIODevice::ReadOnly));
    EXPECT_TRUE(gpl.readAll().startsWith("GIMP Palette\nName: AP8X2\n"));
    r = korvahost({"--export-palette", "AP99", path("q.gpl")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("AP99")) << r.err.toStdString();
}

TEST_F(KorvaHost, ANamedLibraryThatFailsIsNotReplacedByAnother) {
    write("empty.kvs", "");
    write("libfake.so", "not a library");
    const HostRun r = korvahost({"--script", path("empty.kvs")}, path("libfake.so"));
    EXPECT_EQ(r.exitCode, 2) << show(r);
    EXPECT_TRUE(r.err.contains("cannot load korvactl") && r.err.contains("libfake.so"))
        << r.err.toStdString();
}

// Each example script runs from a scratch folder and prints exactly what was
// recorded next to the tests; a change in a control's looks, events or saved
// keys shows up here as a diff.
TEST_F(KorvaHost, ExampleScriptsPrintTheirRecordedOutput) {
    const QDir examples(QStringLiteral(KORVA_SOURCE_DIR "/examples"));
    const QStringList scripts = examples.entryList({"*.kvs"}, QDir::Files);
    ASSERT_FALSE(scripts.isEmpty());
    for (const QString& name : scripts) {
        SCOPED_TRACE(name.toStdString());
        QFile::remove(path(name));
        ASSERT_TRUE(QFile::copy(examples.filePath(name), path(name)));
        const HostRun r = korvahost({"--script", path(name)});
        QFile expected(QStringLiteral(KORVA_SOURCE_DIR "/tests/host/expected/") + QFileInfo(name).baseName() +
                       ".out");
        ASSERT_TRUE(expected.open(QIODevice::ReadOnly)) << "no recorded output for " << name.toStdString();
        const QStringList want = QString::fromUtf8(expected.readAll()).split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(r.exitCode, 0) << show(r);
        EXPECT_EQ(r.lines, want) << show(r);
    }
}
