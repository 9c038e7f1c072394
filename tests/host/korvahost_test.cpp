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

#include <sys/resource.h>

namespace {

struct HostRun {
    int exitCode = -1;
    QStringList lines; // stdout
    QString err;
};

// What a new Pages control prints while it is made and set up.
const QStringList kNewPages = {"event Tabs.Click(\"1\")", "event Tabs.Show()", "event Tabs.Click(\"1\")",
                               "event Tabs.Show()"};

QString binaryDir() { return QStringLiteral(KORVA_BINARY_DIR); }

std::string show(const HostRun& r) { return (r.lines.join('\n') + "\n--- stderr:\n" + r.err).toStdString(); }

class KorvaHost : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& name) const { return dir.filePath(name); }

    void write(const QString& name, const QByteArray& text) const {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    // The file's bytes, or "(missing)" when it cannot be read.
    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }

    // `memoryLimit`: bytes of address space the host may use (0: no limit).
    HostRun korvahost(const QStringList& args, const QString& library = {}, rlim_t memoryLimit = 0) const {
        QProcess p;
        if (memoryLimit > 0)
            p.setChildProcessModifier([memoryLimit] {
                const rlimit limit{memoryLimit, memoryLimit};
                setrlimit(RLIMIT_AS, &limit);
            });
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

    HostRun script(const QByteArray& text, QStringList extra = {}, rlim_t memoryLimit = 0) const {
        write("test.kvs", text);
        return korvahost(QStringList{"--script", path("test.kvs")} + extra, {}, memoryLimit);
    }

    // A script line and the lines it prints; in an expected "error: " the
    // number of the line goes after "error".
    struct Step {
        QByteArray line;
        QStringList out;
    };
    void expectSteps(const std::vector<Step>& steps, int exitCode) const {
        QByteArray text;
        QStringList want;
        for (size_t i = 0; i < steps.size(); ++i) {
            text += steps[i].line + '\n';
            for (QString line : steps[i].out)
                want << (line.startsWith("error: ") ? line.insert(5, " " + QString::number(i + 1)) : line);
        }
        const HostRun r = script(text);
        EXPECT_EQ(r.exitCode, exitCode) << show(r);
        EXPECT_EQ(r.lines, want) << show(r);
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(KorvaHost, MembersEventsAndBag) {
    expectSteps({{"new korvactl.Pane P   # design size", {}},
                 {"get P.TextCaption", {"P.TextCaption = \"\""}},
                 {"let p.textcaption \"Say \"\"hi\"\" # not a comment\"", {}},
                 {"get P.TextCaption", {"P.TextCaption = \"Say \"\"hi\"\" # not a comment\""}},
                 {"let P.TextCaption 5#", {}},
                 {"get P.TextCaption", {"P.TextCaption = \"5\""}},
                 {"notify P.imgMAIN Click", {"event P.Click()"}},
                 {"notify P.lblTEST DblClick", {"event P.Click()"}},
                 {"mouse P dblclick 20 20", {"event P.Click()", "event P.Click()"}},
                 {"bag P", {"Backcolor = 0", "TextCaption = \"5\"", "Enabled = True"}}},
                0);
}

// Each refused line says why, and the script goes on.
TEST_F(KorvaHost, RefusedLinesAreReportedAndTheScriptGoesOn) {
    const QString screenUsage = "error: usage: screen WIDTH HEIGHT (whole numbers of pixels, above 0)";
    const QString dialogUsage = "error: usage: dialog colour VALUE | dialog cancel";
    expectSteps(
        {{"new Pane P", {}},
         {"new Pane P", {"error: a control named P already exists"}},
         {"new Gizmo G", {"error: unknown class Gizmo"}},
         {"new Pane 9lives",
          {"error: 9lives is not a control name (letters, digits and _, not starting with a digit)"}},
         {"get Q.TextCaption", {"error: no control named Q"}},
         {"get P.Nothing", {"error: P (Pane) has no member Nothing"}},
         {"get P.Enabled", {"error: P.Enabled cannot be read"}},
         {"let P.Enabled Font(\"Tahoma\", 8)", {"error: type mismatch: P.Enabled does not take Font"}},
         {"let P.TextCaption \"open", {"error: unclosed string"}},
         {"call P.TextCaption", {"error: P.TextCaption is a property, not a method"}},
         {"notify P.imgNONE Click", {"error: Pane has no element imgNONE"}},
         {"notify P Wiggle", {"error: unknown notification Wiggle"}},
         {"mouse P hop 1 1", {"error: unknown mouse action hop (move, down, up, click, dblclick)"}},
         {"key P press 9999", {"error: unknown key code 9999"}},
         {"tick -5", {"error: usage: tick MS (whole milliseconds, 0 or more)"}},
         {"pixel P 5000 5", {"error: (5000,5) lies outside P, which is 105 x 35 pixels"}},
         {"frob", {"error: unknown command frob"}},
         {"window P.tmrCOLORCHK", {"error: P.tmrCOLORCHK has no window"}},
         {"pixel P.nope 1 1", {"error: P (Pane) has no element nope"}},
         {"mouse P.imgMAIN(2) move 1 1", {"error: P (Pane) has no element imgMAIN(2)"}},
         {"mouse P.imgHL click 1 1", {"error: P.imgHL is not shown: it gets no mouse input"}},
         {"focus P.imgHL", {"error: P.imgHL is not shown: it cannot take the focus"}},
         {"grab P.tmrCOLORCHK t.png", {"error: P.tmrCOLORCHK has no window"}},
         {"key P.tmrCOLORCHK press 65", {"error: P.tmrCOLORCHK has no window"}},
         {"key P.imgHL press 65", {"error: P.imgHL is not shown: it gets no keys"}},
         {"focus Nobody", {"error: no control named Nobody"}},
         {"window 9P.lblTEST", {"error: 9P.lblTEST is not NAME, NAME.ELEMENT or NAME.ELEMENT(INDEX)"}},
         {"mouse P.imgMAIN(99999999999) move 1 1", {"error: index 99999999999 is too large"}},
         {"pixel P.lblTEST 1 99", {"error: (1,99) lies outside P.lblTEST, which is 105 x 25 pixels"}},
         {"focus", {"error: usage: focus WINDOW"}},
         {"window P extra", {"error: usage: window WINDOW"}},
         {"screen 800", {screenUsage}},
         {"screen 0 600", {screenUsage}},
         {"screen wide 600", {screenUsage}},
         {"dialog", {dialogUsage}},
         {"dialog colour", {dialogUsage}},
         {"dialog colour &H80000005", {"error: a dialog answers with a plain colour, not &H80000005"}},
         {"dialog colour \"teal\"", {"error: \"teal\" is not a colour"}},
         {"dialog cancel now", {dialogUsage}},
         {"dialog colour Colour(&HFF)", {}},
         {"screen 1024 768", {}},
         {"", {}},
         {"get P.TextCaption", {"P.TextCaption = \"\""}}},
        1);
}

// NAME.ELEMENT(INDEX) names an element's own window: its place on the
// screen, its pixels and the input it gets are its own, not the control's.
TEST_F(KorvaHost, ElementWindowsHaveTheirOwnPlacePixelsAndInput) {
    expectSteps({{"new Pane P 3000 800", {}},
                 {"new Pane Q", {}},
                 {"window P", {"window P = (0,0)-(200,53) visible"}},
                 {"window P.lblTEST", {"window P.lblTEST = (0,14)-(200,39) visible"}},
                 {"window Q.lblTEST", {"window Q.lblTEST = (0,58)-(105,83) visible"}},
                 {"window p.LBLTEST", {"window p.LBLTEST = (0,14)-(200,39) visible"}},
                 {"window P.imgHL", {"window P.imgHL = (0,0)-(0,0) hidden"}},
                 // The caption's window shows what lies under it on the control, 14 pixels lower.
                 {"pixel P.lblTEST 100 12", {"P.lblTEST(100,12) = &HE29021&"}},
                 {"pixel P 100 26", {"P(100,26) = &HE29021&"}},
                 {"pixel P.imgMAIN 5 5", {"P.imgMAIN(5,5) = &HF2A035&"}},
                 {"pixel Q.imgMAIN 5 5", {"Q.imgMAIN(5,5) = &HF0B122&"}},
                 // Hovering Q's picture lights Q up and leaves P alone.
                 {"mouse Q.imgMAIN move 5 5", {}},
                 {"pixel Q.imgMAIN 5 5", {"Q.imgMAIN(5,5) = &HFFD739&"}},
                 {"pixel P.imgMAIN 5 5", {"P.imgMAIN(5,5) = &HF2A035&"}},
                 {"mouse P.lblTEST click 5 5", {"event P.Click()"}},
                 {"focus P.lblTEST", {}},
                 {"focus Q", {}},
                 {"key Q press 65 4", {}},
                 {"grab P.lblTEST label.png", {}}},
                0);
    EXPECT_EQ(QImage(path("label.png")).size(), QSize(200, 25));
}

// Pages paints its tab pieces and captions in one window: each windowless
// piece is addressed as the rectangle it occupies there, and input sent to it
// reaches the topmost piece at that point through the platform's capture.
TEST_F(KorvaHost, WindowlessTabPiecesAreTheirRectanglesInTheStrip) {
    const QStringList moved = {"event Tabs.MouseMove(0, 0, 0.0!, 0.0!)"};
    expectSteps({{"new Pages Tabs 6000 2400", kNewPages},
                 {"new Pane P", {}},
                 {"let Tabs.ActiveTabs \"General,Colours,Help\"", {}},
                 {"window Tabs.imgSELLEFT(2)", {"window Tabs.imgSELLEFT(2) = (65,0)-(67,22) visible"}},
                 {"window Tabs.imgSELCAP(2)", {"window Tabs.imgSELCAP(2) = (67,0)-(120,22) visible"}},
                 {"window Tabs.imgSELRIGHT(2)", {"window Tabs.imgSELRIGHT(2) = (120,0)-(122,22) visible"}},
                 {"pixel Tabs.imgSELCAP(2) 5 5", {"Tabs.imgSELCAP(2)(5,5) = &HE6EAEB&"}}, // normal look
                 {"mouse Tabs.imgSELCAP(2) move 5 5", moved},
                 {"pixel Tabs.imgSELCAP(2) 5 5", {"Tabs.imgSELCAP(2)(5,5) = &HFFFFFF&"}}, // hover look
                 {"mouse Tabs.imgSELCAP(3) move 5 5", moved}, // leaving tab 2 ends its hover
                 {"pixel Tabs.imgSELCAP(2) 5 5", {"Tabs.imgSELCAP(2)(5,5) = &HE6EAEB&"}},
                 {"mouse Tabs.imgSELCAP(3) move 5 5", moved}, // the next move starts tab 3's
                 {"pixel Tabs.imgSELCAP(3) 5 5", {"Tabs.imgSELCAP(3)(5,5) = &HFFFFFF&"}},
                 {"mouse P.imgMAIN move 5 5", moved}, // captured: Tabs gets it and lets go
                 {"pixel P.imgMAIN 5 5", {"P.imgMAIN(5,5) = &HF0B122&"}},
                 {"pixel Tabs.imgSELCAP(3) 5 5", {"Tabs.imgSELCAP(3)(5,5) = &HE6EAEB&"}},
                 {"mouse P.imgMAIN move 5 5", {}}, // now P gets the mouse
                 {"pixel P.imgMAIN 5 5", {"P.imgMAIN(5,5) = &HFFD739&"}},
                 {"grab Tabs.imgSELCAP(2) tab.png", {}},
                 {"pixel Tabs.imgSELCAP(2) 53 1",
                  {"error: (53,1) lies outside Tabs.imgSELCAP(2), which is 53 x 22 pixels"}}},
                1);
    EXPECT_EQ(QImage(path("tab.png")).size(), QSize(53, 22));
}

// Presses on the caption pieces and labels of inactive tabs, one made under
// the hover capture: the press lets the capture go, yet its release still
// reaches the pressed strip, as the window system's grab on a press delivers
// it, and the next press finds its tab. Then an inactive tab's edge pixels and
// the keys that step through the tabs.
TEST_F(KorvaHost, TabPiecesTakeClicksKeysAndShowTheirEdges) {
    const auto down = [](const char* caption) {
        return QStringList{QStringLiteral("event Tabs.Click(\"%1\")").arg(caption), "event Tabs.Show()",
                           QStringLiteral("event Tabs.MouseDown(1, 0, 0.0!, 0.0!, \"%1\")").arg(caption)};
    };
    const QStringList up = {"event Tabs.MouseUp(1, 0, 0.0!, 0.0!)"};
    expectSteps({{"new Pages Tabs 6000 2400", kNewPages},
                 {"let Tabs.ActiveTabs \"General,Colours,Help\"", {}},
                 {"mouse Tabs.lblCAPTION(2) click 1 1", down("Colours") + up},
                 {"mouse Tabs.imgSELCAP(3) move 5 5", {"event Tabs.MouseMove(0, 0, 0.0!, 0.0!)"}},
                 {"mouse Tabs.imgSELCAP(3) down 5 5", down("Help")},
                 {"mouse Tabs.imgSELCAP(3) up 5 5", up},
                 {"mouse Tabs.imgSELCAP(1) down 5 5", down("General")},
                 {"mouse Tabs.imgSELCAP(1) up 5 5", up},
                 {"get Tabs.ActiveTab", {"Tabs.ActiveTab = 1"}},
                 {"pixel Tabs.imgSELLEFT(3) 0 5", {"Tabs.imgSELLEFT(3)(0,5) = &HA7ACAE&"}},
                 {"pixel Tabs.imgSELLEFT(3) 1 5", {"Tabs.imgSELLEFT(3)(1,5) = &HD9DDDF&"}},
                 {"pixel Tabs.imgSELRIGHT(3) 0 5", {"Tabs.imgSELRIGHT(3)(0,5) = &HD9DDE0&"}},
                 {"pixel Tabs.imgSELRIGHT(3) 1 5", {"Tabs.imgSELRIGHT(3)(1,5) = &HA7ACAE&"}},
                 {"focus Tabs", {}},
                 {"key Tabs down 37", {"event Tabs.Click(\"Help\")"}}, // Left arrow wraps to the last tab
                 {"get Tabs.ActiveTab", {"Tabs.ActiveTab = 3"}},
                 {"key Tabs down 9 2", {"event Tabs.Click(\"General\")"}}, // Ctrl+Tab wraps to the first
                 {"get Tabs.ActiveTab", {"Tabs.ActiveTab = 1"}},
                 {"window Tabs.tmrNONE", {"error: Tabs (Pages) has no element tmrNONE"}}},
                1);
}

// A window far larger than any image costs one pixel to read; an extent no
// window can have is refused; a huge bad value is quoted by its start only.
// The host runs with 1.5 GB of address space, which rendering a 40000 x 40000
// pixel control whole would exceed (sanitizers need far more and skip the limit).
#if defined(__SANITIZE_ADDRESS__)
#define KORVA_UNDER_ASAN 1 // GCC
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVA_UNDER_ASAN 1 // clang
#endif
#endif
TEST_F(KorvaHost, HugeWindowsAndValuesStayCheap) {
#if defined(KORVA_UNDER_ASAN)
    const rlim_t limit = 0;
#else
    const rlim_t limit = rlim_t{1536} << 20;
#endif
    const QByteArray huge(20 << 20, 'x');
    const QByteArray text =
        "new Pane P\nresize P 600000 600000\npixel P 39999 39999\npixel P.imgMAIN 20000 5\n"
        "grab P big.png\nresize P 3e38 3e38\nnew Pane Q 1e30 1e30\n";
    const HostRun r = script(text + "let P.TextCaption " + huge + "\nget P." + huge + "\nmouse P move " +
                                 huge + " 1\n" + huge + "\n",
                             {}, limit);
    EXPECT_EQ(r.exitCode, 1) << show(r).substr(0, 2000);
    ASSERT_EQ(r.lines.size(), 9) << show(r).substr(0, 2000);
    const QRegularExpression pixel("^P(\\.imgMAIN)?\\(\\d+,\\d+\\) = &H[0-9A-F]{6}&$");
    EXPECT_TRUE(pixel.match(r.lines[0]).hasMatch()) << r.lines[0].toStdString();
    EXPECT_TRUE(pixel.match(r.lines[1]).hasMatch()) << r.lines[1].toStdString();
    EXPECT_TRUE(r.lines[2].startsWith("error 5: P is 40000 x 40000 pixels")) << r.lines[2].toStdString();
    EXPECT_EQ(r.lines[3], "error 6: P cannot take the size 3e+38 x 3e+38 twips: no window is that large");
    EXPECT_TRUE(r.lines[4].startsWith("error 7: Q could not be set up")) << r.lines[4].toStdString();
    for (qsizetype i = 5; i < r.lines.size(); ++i) {
        EXPECT_LT(r.lines[i].size(), 300) << r.lines[i].left(300).toStdString();
        EXPECT_TRUE(r.lines[i].contains("xxx...")) << r.lines[i].left(200).toStdString();
    }
}

// A control at the largest position leaves no room below it: `new` says so
// instead of computing a top past the 32-bit range.
TEST_F(KorvaHost, NewBelowAControlAtTheLargestTopFailsClearly) {
    write("low.form", "korvactl form 1\nBegin korvactl.Pane Low\n    Left = 0\n    Top = 2147483647\n"
                      "    Width = 1575\n    Height = 525\nEnd\n");
    expectSteps(
        {{"load low.form", {}},
         {"new Pane X",
          {"error: no room for X below the other controls: its top would be 2147484172 twips, beyond the "
           "largest position 2147483647"}},
         {"get X.TextCaption", {"error: no control named X"}}},
        1);
}

// The scripted clock drives the leave check: the highlight stays until a
// 100 ms tick finds the cursor outside.
TEST_F(KorvaHost, TickFiresTimersOnTheScriptedClock) {
    const QStringList normal = {"P(45,25) = &HFA8F26&"}, highlight = {"P(45,25) = &HFFC24D&"};
    expectSteps({{"new Pane P", {}},
                 {"pixel P 45 25", normal},
                 {"mouse P move 45 25", {}},
                 {"pixel P 45 25", highlight},
                 {"cursor 600 600", {}},
                 {"tick 99", {}},
                 {"pixel P 45 25", highlight}, // not yet due
                 {"tick 1", {}},
                 {"pixel P 45 25", normal}},
                0);
}

TEST_F(KorvaHost, SaveLoadAndScreenshotRoundTrip) {
    HostRun r = script("new Pane A 3000 800\n"
                       "new Pane B\n"
                       "let A.TextCaption \"Open\"\n"
                       "let B.Enabled False\n"
                       "save form.form\n"
                       "grab A a.png\n");
    ASSERT_EQ(r.exitCode, 0) << show(r);
    EXPECT_EQ(QImage(path("a.png")).size(), QSize(200, 53)) << "3000 x 800 twips at 15 twips a pixel";

    write("bad.form", "korvactl form 1\nBegin korvactl.Pane X\n    Left = nowhere\n");
    r = script("new Pane Keep\n"
               "load bad.form\n"
               "get Keep.TextCaption\n"
               "load form.form\n"
               "get A.TextCaption\n"
               "get Keep.TextCaption\n"
               "bag B\n");
    EXPECT_EQ(r.exitCode, 1) << show(r);
    // A failed load changes nothing; a good one replaces the whole form.
    EXPECT_EQ(
        r.lines,
        QStringList({"error 2: " + path("bad.form") +
                         ":3:12: expected a value; a word must be True, False, Empty, Nothing, "
                         "Colour, Font, Picture or Chr, found \"nowhere\"",
                     "Keep.TextCaption = \"\"", "A.TextCaption = \"Open\"", "error 6: no control named Keep",
                     "Backcolor = 0", "TextCaption = \"\"", "Enabled = False"}))
        << show(r);

    r = script("get A.TextCaption\n", {"--form", path("form.form")});
    EXPECT_EQ(r.exitCode, 0) << show(r);
    EXPECT_EQ(r.lines, QStringList({"A.TextCaption = \"Open\""}));

    r = korvahost({path("form.form"), "--screenshot", path("shot.png")});
    EXPECT_EQ(r.exitCode, 0) << show(r);
    EXPECT_EQ(QImage(path("shot.png")).size(), QSize(200, 53 + 35)) << "both panes, one below the other";
}

TEST_F(KorvaHost, RegistersThroughTheEntryPointsAndExportsPalettes) {
    HostRun r = korvahost({"--register"});
    ASSERT_EQ(r.exitCode, 0) << show(r);
    const QByteArray registry = read(path("registry"));
    EXPECT_TRUE(registry.contains("korvactl.Pane\\CLSID = {6B8DF25F-93AC-4C55-8A8A-EB057AEAE293}"))
        << registry.constData();
    r = korvahost({"--unregister"});
    ASSERT_EQ(r.exitCode, 0) << show(r);
    EXPECT_EQ(read(path("registry")), QByteArray());

    r = korvahost({"--export-palette", "AP8X2", path("p.gpl")});
    EXPECT_EQ(r.exitCode, 0) << show(r);
    EXPECT_TRUE(read(path("p.gpl")).startsWith("GIMP Palette\nName: AP8X2\n"));
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
        const QString recorded =
            QStringLiteral(KORVA_SOURCE_DIR "/tests/host/expected/") + QFileInfo(name).baseName() + ".out";
        const QStringList want = QString::fromUtf8(read(recorded)).split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(r.exitCode, 0) << show(r);
        EXPECT_EQ(r.lines, want) << show(r);
    }
}

// Scripted answers wait in order for the dialogs that ask; once they are used
// up a dialog is cancelled. (The drop-down is examples/colors_dropdown.kvs.)
TEST_F(KorvaHost, ColourDialogsTakeTheScriptedAnswersInOrder) {
    const QStringList hidden = {"event C.FocusHidden()"};
    expectSteps({{"new Colors C", {}},
                 {"dialog colour &H123456", {}},
                 {"dialog cancel", {}},
                 {"notify C.lblCUSTOM Click", {"event C.FocusHidden()", "event C.ChangeCustom(1193046)"}},
                 {"notify C.lblCUSTOM Click", hidden},
                 {"notify C.lblCUSTOM Click", hidden},
                 {"get C.Color", {"C.Color = 1193046"}},
                 {"get C.Text", {"C.Text = \"EARTH RED\""}}}, // a custom colour names no cell
                0);
}
