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

// NAME.ELEMENT(INDEX) names an element's own window: its place on the
// screen, its pixels and the input it gets are its own, not the control's.
TEST_F(KorvaHost, ElementWindowsHaveTheirOwnPlacePixelsAndInput) {
    const HostRun r = script("new Pane P 3000 800\n"
                             "new Pane Q\n"
                             "window P\n"
                             "window P.lblTEST\n"
                             "window Q.lblTEST\n"
                             "window p.LBLTEST\n"
                             "window P.imgHL\n"
                             "pixel P.lblTEST 100 12\n"
                             "pixel P 100 26\n"
                             "pixel P.imgMAIN 5 5\n"
                             "pixel Q.imgMAIN 5 5\n"
                             "mouse Q.imgMAIN move 5 5\n"
                             "pixel Q.imgMAIN 5 5\n"
                             "pixel P.imgMAIN 5 5\n"
                             "mouse P.lblTEST click 5 5\n"
                             "focus P.lblTEST\n"
                             "focus Q\n"
                             "key Q press 65 4\n"
                             "grab P.lblTEST label.png\n");
    ASSERT_EQ(r.exitCode, 0) << show(r);
    ASSERT_EQ(r.lines.size(), 12) << show(r);
    EXPECT_EQ(
        r.lines.mid(0, 5),
        QStringList({"window P = (0,0)-(200,53) visible", "window P.lblTEST = (0,14)-(200,39) visible",
                     "window Q.lblTEST = (0,58)-(105,83) visible",
                     "window p.LBLTEST = (0,14)-(200,39) visible", "window P.imgHL = (0,0)-(0,0) hidden"}))
        << show(r);
    // The caption's window shows what lies under it on the control, 14 pixels lower.
    EXPECT_TRUE(r.lines[5].startsWith("P.lblTEST(100,12) = &H")) << show(r);
    EXPECT_EQ(r.lines[5].mid(r.lines[5].indexOf('=')), r.lines[6].mid(r.lines[6].indexOf('='))) << show(r);
    // Hovering Q's picture lights Q up and leaves P alone.
    EXPECT_NE(r.lines[8], r.lines[9]) << show(r);
    EXPECT_EQ(r.lines[7], r.lines[10]) << show(r);
    EXPECT_EQ(r.lines[11], "event P.Click()");
    EXPECT_EQ(QImage(path("label.png")).size(), QSize(200, 25));
}

// Pages paints its tab pieces and captions in one window: each windowless
// piece is addressed as the rectangle it occupies there, and input sent to it
// reaches the topmost piece at that point through the platform's capture.
TEST_F(KorvaHost, WindowlessTabPiecesAreTheirRectanglesInTheStrip) {
    const HostRun r = script("new Pages Tabs 6000 2400\n"
                             "new Pane P\n"
                             "let Tabs.ActiveTabs \"General,Colours,Help\"\n"
                             "window Tabs.imgSELLEFT(2)\n"
                             "window Tabs.imgSELCAP(2)\n"
                             "window Tabs.imgSELRIGHT(2)\n"
                             "pixel Tabs.imgSELCAP(2) 5 5\n" // normal look
                             "mouse Tabs.imgSELCAP(2) move 5 5\n"
                             "pixel Tabs.imgSELCAP(2) 5 5\n"      // hover look
                             "mouse Tabs.imgSELCAP(3) move 5 5\n" // leaving tab 2 ends its hover
                             "pixel Tabs.imgSELCAP(2) 5 5\n"
                             "mouse Tabs.imgSELCAP(3) move 5 5\n" // the next move starts tab 3's
                             "pixel Tabs.imgSELCAP(3) 5 5\n"
                             "mouse P.imgMAIN move 5 5\n" // captured: Tabs gets it and lets go
                             "pixel P.imgMAIN 5 5\n"
                             "pixel Tabs.imgSELCAP(3) 5 5\n"
                             "mouse P.imgMAIN move 5 5\n" // now P gets the mouse
                             "pixel P.imgMAIN 5 5\n"
                             "grab Tabs.imgSELCAP(2) tab.png\n"
                             "pixel Tabs.imgSELCAP(2) 53 1\n");
    ASSERT_EQ(r.exitCode, 1) << show(r);
    const QStringList want = {
        "event Tabs.Click(\"1\")",
        "event Tabs.Show()",
        "event Tabs.Click(\"1\")",
        "event Tabs.Show()",
        "window Tabs.imgSELLEFT(2) = (65,0)-(67,22) visible",
        "window Tabs.imgSELCAP(2) = (67,0)-(120,22) visible",
        "window Tabs.imgSELRIGHT(2) = (120,0)-(122,22) visible",
        "Tabs.imgSELCAP(2)(5,5) = &HE6EAEB&",
        "event Tabs.MouseMove(0, 0, 0.0!, 0.0!)",
        "Tabs.imgSELCAP(2)(5,5) = &HFFFFFF&",
        "event Tabs.MouseMove(0, 0, 0.0!, 0.0!)",
        "Tabs.imgSELCAP(2)(5,5) = &HE6EAEB&",
        "event Tabs.MouseMove(0, 0, 0.0!, 0.0!)",
        "Tabs.imgSELCAP(3)(5,5) = &HFFFFFF&",
        "event Tabs.MouseMove(0, 0, 0.0!, 0.0!)",
        "P.imgMAIN(5,5) = &HF0B122&",
        "Tabs.imgSELCAP(3)(5,5) = &HE6EAEB&",
        "P.imgMAIN(5,5) = &HFFD739&",
        "error 20: (53,1) lies outside Tabs.imgSELCAP(2), which is 53 x 22 pixels",
    };
    EXPECT_EQ(r.lines, want) << show(r);
    EXPECT_EQ(QImage(path("tab.png")).size(), QSize(53, 22));
}

// A press and release on an inactive tab's caption piece or label, the edge
// pixels of its looks, and the keys that step through the tabs.
TEST_F(KorvaHost, TabPiecesTakeClicksKeysAndShowTheirEdges) {
    const HostRun r = script("new Pages Tabs 6000 2400\n"
                             "let Tabs.ActiveTabs \"General,Colours,Help\"\n"
                             "mouse Tabs.imgSELCAP(2) down 5 5\n"
                             "mouse Tabs.imgSELCAP(2) up 5 5\n"
                             "mouse Tabs.lblCAPTION(3) click 1 1\n"
                             "get Tabs.ActiveTab\n"
                             "pixel Tabs.imgSELLEFT(1) 0 5\n"
                             "pixel Tabs.imgSELLEFT(1) 1 5\n"
                             "pixel Tabs.imgSELRIGHT(1) 0 5\n"
                             "pixel Tabs.imgSELRIGHT(1) 1 5\n"
                             "focus Tabs\n"
                             "key Tabs down 39\n" // Right arrow wraps to the first tab
                             "get Tabs.ActiveTab\n"
                             "key Tabs down 9 2\n" // Ctrl+Tab
                             "get Tabs.ActiveTab\n"
                             "window Tabs.tmrNONE\n");
    ASSERT_EQ(r.exitCode, 1) << show(r);
    const QStringList want = {
        "event Tabs.Click(\"1\")",
        "event Tabs.Show()",
        "event Tabs.Click(\"1\")",
        "event Tabs.Show()",
        "event Tabs.Click(\"Colours\")",
        "event Tabs.Show()",
        "event Tabs.MouseDown(1, 0, 0.0!, 0.0!, \"Colours\")",
        "event Tabs.MouseUp(1, 0, 0.0!, 0.0!)",
        "event Tabs.Click(\"Help\")",
        "event Tabs.Show()",
        "event Tabs.MouseDown(1, 0, 0.0!, 0.0!, \"Help\")",
        "event Tabs.MouseUp(1, 0, 0.0!, 0.0!)",
        "Tabs.ActiveTab = 3",
    };
    ASSERT_GE(r.lines.size(), want.size() + 4) << show(r);
    EXPECT_EQ(r.lines.mid(0, want.size()), want) << show(r);
    // The inactive tab's pieces: a light outer edge, a dark outline inside it.
    const QStringList edges = r.lines.mid(want.size(), 4);
    EXPECT_NE(edges[0].mid(edges[0].indexOf('=')), edges[1].mid(edges[1].indexOf('='))) << show(r);
    EXPECT_NE(edges[2].mid(edges[2].indexOf('=')), edges[3].mid(edges[3].indexOf('='))) << show(r);
    EXPECT_EQ(
        r.lines.mid(want.size() + 4),
        QStringList({"event Tabs.Click(\"General\")", "Tabs.ActiveTab = 1", "event Tabs.Click(\"Colours\")",
                     "Tabs.ActiveTab = 2", "error 16: Tabs (Pages) has no element tmrNONE"}))
        << show(r);
}

// A press on a hovered tab goes to the strip through the capture, and the
// press lets the capture go: the release still reaches the pressed strip,
// as the window system's grab on a press delivers it.
TEST_F(KorvaHost, AReleaseFollowsAPressMadeUnderCapture) {
    const HostRun r = script("new Pages Tabs 6000 2400\n"
                             "let Tabs.ActiveTabs \"General,Colours,Help\"\n"
                             "mouse Tabs.imgSELCAP(2) move 5 5\n"
                             "mouse Tabs.imgSELCAP(2) down 5 5\n"
                             "mouse Tabs.imgSELCAP(2) up 5 5\n"
                             "mouse Tabs.imgSELCAP(3) down 5 5\n"
                             "mouse Tabs.imgSELCAP(3) up 5 5\n");
    ASSERT_EQ(r.exitCode, 0) << show(r);
    EXPECT_EQ(r.lines.mid(4),
              QStringList({"event Tabs.MouseMove(0, 0, 0.0!, 0.0!)", "event Tabs.Click(\"Colours\")",
                           "event Tabs.Show()", "event Tabs.MouseDown(1, 0, 0.0!, 0.0!, \"Colours\")",
                           "event Tabs.MouseUp(1, 0, 0.0!, 0.0!)", "event Tabs.Click(\"Help\")",
                           "event Tabs.Show()", "event Tabs.MouseDown(1, 0, 0.0!, 0.0!, \"Help\")",
                           "event Tabs.MouseUp(1, 0, 0.0!, 0.0!)"}))
        << show(r);
}

// The hover capture of Colors must leave the mouse working: a press under the
// capture is a press, the move that leaves releases it, and other controls
// get their input again.
TEST_F(KorvaHost, ColorsHoverCaptureKeepsTheMouseWorking) {
    const HostRun r = script("new Colors c 1500 450\n"
                             "new Colors d\n"
                             "mouse c move 50 15\n"
                             "mouse c move 400 15\n"
                             "get c.MousePosn\n"
                             "mouse c move 50 15\n"
                             "mouse c click 50 15\n"
                             "window c.picDROPDOWNPANEL\n"
                             "call c.HidePopUp\n"
                             "mouse d move 20 10\n"
                             "mouse d down 20 10\n");
    ASSERT_EQ(r.exitCode, 0) << show(r);
    const auto at = [&](const char* line) { return r.lines.indexOf(QString::fromLatin1(line)); };
    // The move that leaves reaches the control and ends the hover.
    EXPECT_GE(at("event c.MouseOut(0, 0, 400.0!, 15.0!)"), 0) << show(r);
    EXPECT_GE(at("c.MousePosn = False"), 0) << show(r);
    const qsizetype down = at("event c.MouseDown(1, 0, 50.0!, 15.0!)");
    const qsizetype up = at("event c.MouseUp(1, 0, 50.0!, 15.0!)");
    const qsizetype click = at("event c.Click()");
    EXPECT_TRUE(down >= 0 && down < up && up < click) << show(r);
    EXPECT_TRUE(r.lines.join(u'\n').contains(QRegularExpression("window c.picDROPDOWNPANEL = .* visible")))
        << show(r);
    EXPECT_TRUE(r.lines.contains("event d.MouseDown(1, 0, 20.0!, 10.0!)")) << show(r);
}

TEST_F(KorvaHost, WindowCommandsSayWhatTheyCannotReach) {
    const HostRun r = script("new Pane P\n"
                             "window P.tmrCOLORCHK\n"
                             "pixel P.nope 1 1\n"
                             "mouse P.imgMAIN(2) move 1 1\n"
                             "mouse P.imgHL click 1 1\n"
                             "focus P.imgHL\n"
                             "grab P.tmrCOLORCHK t.png\n"
                             "key P.tmrCOLORCHK press 65\n"
                             "focus Nobody\n"
                             "window 9P.lblTEST\n"
                             "mouse P.imgMAIN(99999999999) move 1 1\n"
                             "pixel P.lblTEST 1 99\n"
                             "focus\n"
                             "window P extra\n"
                             "key P.imgHL press 65\n");
    EXPECT_EQ(r.exitCode, 1) << show(r);
    const QStringList expected = {
        "error 2: P.tmrCOLORCHK has no window",
        "error 3: P (Pane) has no element nope",
        "error 4: P (Pane) has no element imgMAIN(2)",
        "error 5: P.imgHL is not shown: it gets no mouse input",
        "error 6: P.imgHL is not shown: it cannot take the focus",
        "error 7: P.tmrCOLORCHK has no window",
        "error 8: P.tmrCOLORCHK has no window",
        "error 9: no control named Nobody",
        "error 10: 9P.lblTEST is not NAME, NAME.ELEMENT or NAME.ELEMENT(INDEX)",
        "error 11: index 99999999999 is too large",
        "error 12: (1,99) lies outside P.lblTEST, which is 105 x 25 pixels",
        "error 13: usage: focus WINDOW",
        "error 14: usage: window WINDOW",
        "error 15: P.imgHL is not shown: it gets no keys",
    };
    EXPECT_EQ(r.lines, expected) << show(r);
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
    const HostRun r = script("new Pane P\n"
                             "resize P 600000 600000\n"
                             "pixel P 39999 39999\n"
                             "pixel P.imgMAIN 20000 5\n"
                             "grab P big.png\n"
                             "resize P 3e38 3e38\n"
                             "new Pane Q 1e30 1e30\n"
                             "let P.TextCaption " +
                                 huge +
                                 "\n"
                                 "get P." +
                                 huge +
                                 "\n"
                                 "mouse P move " +
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

TEST_F(KorvaHost, ColorsDropDownAndColourDialogFromAScript) {
    const HostRun r = script("screen 640 480\n"
                             "new Colors C\n"
                             "let C.Palette 0\n"
                             "call C.ShowPopUp\n"
                             "notify C.picDROPDOWNPANEL MouseMove 1 0 10 10\n"
                             "notify C.picDROPDOWNPANEL MouseUp 1 0 30 10\n"
                             "get C.Text\n"
                             "dialog colour &H123456\n"
                             "dialog cancel\n"
                             "notify C.lblCUSTOM Click\n"
                             "notify C.lblCUSTOM Click\n"
                             "notify C.lblCUSTOM Click\n"
                             "get C.Color\n"
                             "get C.Text\n");
    EXPECT_EQ(r.exitCode, 0) << show(r);
    EXPECT_EQ(r.lines,
              QStringList({"event C.Change(255)", "event C.FocusHidden()", "event C.FocusHidden()",
                           "event C.Click()", "event C.Change(65535)", "C.Text = \"YELLOW\"",
                           // answered, cancelled, and none left: cancelled too
                           "event C.FocusHidden()", "event C.ChangeCustom(1193046)", "event C.FocusHidden()",
                           "event C.FocusHidden()", "C.Color = 1193046", "C.Text = \"YELLOW\""}))
        << show(r);
}

TEST_F(KorvaHost, ScreenAndDialogCommandsCheckTheirArguments) {
    const HostRun r = script("screen 800\n"
                             "screen 0 600\n"
                             "screen wide 600\n"
                             "dialog\n"
                             "dialog colour\n"
                             "dialog colour &H80000005\n"
                             "dialog colour \"teal\"\n"
                             "dialog cancel now\n"
                             "dialog colour Colour(&HFF)\n"
                             "screen 1024 768\n");
    EXPECT_EQ(r.exitCode, 1) << show(r);
    const QStringList expected = {"error 1: usage: screen",
                                  "error 2: usage: screen",
                                  "error 3: usage: screen",
                                  "error 4: usage: dialog",
                                  "error 5: usage: dialog",
                                  "error 6: a dialog answers",
                                  "error 7: \"teal\" is not a colour",
                                  "error 8: usage: dialog"};
    ASSERT_EQ(r.lines.size(), expected.size()) << show(r);
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(r.lines[i].startsWith(expected[i])) << r.lines[i].toStdString();
}
