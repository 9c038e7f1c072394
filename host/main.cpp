// korvahost: the container application of korvactl.
//
//   korvahost FORM                           the form in a window; events are logged
//   korvahost FORM --print-windows           the same, first printing where each control's
//                                            window is on the screen (to drive it from outside)
//   korvahost FORM --screenshot OUT.png      render it offscreen, print the event log
//   korvahost --script FILE [--form FORM]    run a script headless (see host/script.h)
//   korvahost --export-palette LAYOUT FILE.gpl
//   korvahost --reference CLASS              a class's members, events and saved keys in Markdown
//   korvahost FORM --dark ...                under a dark palette that system colours follow
//   korvahost --register | --unregister      the per-user registry entries
//
// --library PATH loads that korvactl instead of the usual one (host/library.h).
#include "colors/palette_export_p.h"
#include "host/form_host.h"
#include "host/form_window.h"
#include "host/library.h"
#include "host/script.h"

#include "host/class_reference.h"
#include "host/dark_palette.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <fstream>

using namespace korva;
using namespace korva::host;

namespace {

void printLine(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void printError(const QString& line) {
    std::fputs(("korvahost: " + line).toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

int exportPalette(const QString& layout, const QString& file) {
    const auto parsed = ParsePaletteLayout(layout.toStdString());
    if (!parsed) {
        printError(QStringLiteral("unknown palette layout %1 (AP8X2 ... AP32X8X6, or 0 ... 11)").arg(layout));
        return 2;
    }
    const std::string text = ExportGimpPalette(static_cast<int32_t>(*parsed));
    std::ofstream out(QFile::encodeName(file).toStdString(), std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        printError(QStringLiteral("cannot write %1").arg(file));
        return 1;
    }
    return 0;
}

int runScript(KorvaLibrary& library, const QString& scriptPath, const QString& formPath) {
    QFile f(scriptPath);
    if (!f.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read %1: %2").arg(scriptPath, f.errorString()));
        return 2;
    }
    const QString script = QString::fromUtf8(f.readAll());
    // Scripts steer the cursor and the clock themselves.
    library.runtime()->UseScriptedPlatform(true);
    int failed = 0;
    {
        FormHost form(library, printLine);
        form.surface()->show();
        library.runtime()->PlaceWindow(form.surface(), 0, 0);
        ScriptRunner runner(form, library, printLine, QFileInfo(scriptPath).absolutePath());
        if (!formPath.isEmpty()) {
            QString error;
            if (!form.load(formPath, &error)) {
                printLine(QStringLiteral("error 0: %1").arg(error));
                ++failed;
            }
        }
        failed += runner.run(script);
    }
    library.runtime()->UseScriptedPlatform(false);
    return failed > 0 ? 1 : 0;
}

// One line per control, in screen pixels with exclusive right and bottom
// edges, as the script's window command prints them.
void printGeometry(const FormHost& form) {
    for (const auto& c : form.controls()) {
        const QWidget* w = c->window();
        if (!w)
            continue;
        const QRect r(w->mapToGlobal(QPoint(0, 0)), w->size());
        printLine(QStringLiteral("window %1 = (%2,%3)-(%4,%5) %6")
                      .arg(c->name())
                      .arg(r.left())
                      .arg(r.top())
                      .arg(r.left() + r.width())
                      .arg(r.top() + r.height())
                      .arg(w->isVisible() ? QStringLiteral("visible") : QStringLiteral("hidden")));
    }
}

int showForm(KorvaLibrary& library, const QString& formPath, const QString& screenshot, bool geometry) {
    FormWindow* window = nullptr;
    FormHost form(library, [&window](const QString& line) {
        printLine(line);
        if (window)
            window->showLastEvent(line);
    });
    QString error;
    if (!form.load(formPath, &error)) {
        printError(error);
        return 1;
    }
    if (!screenshot.isEmpty()) {
        if (!saveScreenshot(form, screenshot, &error)) {
            printError(error);
            return 1;
        }
        return 0;
    }
    FormWindow w(form, formPath);
    window = &w;
    w.show();
    if (geometry) // once the window is placed, before any input
        QTimer::singleShot(0, &w, [&form] { printGeometry(form); });
    const int rc = QApplication::exec();
    window = nullptr;
    return rc;
}

} // namespace

int main(int argc, char** argv) {
    // Scripts and screenshots run without a display. Decided before the
    // application object exists, from the raw arguments.
    // Only showing a form in a window needs a display.
    bool window = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--script" || a == "--screenshot" || a == "--export-palette" || a == "--reference" ||
            a == "--register" || a == "--unregister" || a == "--help" || a == "-h" || a == "--help-all") {
            window = false;
            break;
        }
        window = window || !a.startsWith('-');
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        if (!window)
            qputenv("QT_QPA_PLATFORM", "offscreen");
        else if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            printError(QStringLiteral("no display to show the form on; render it with --screenshot OUT.png"));
            return 2;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvahost"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The container application of korvactl."));
    parser.addHelpOption();
    const QCommandLineOption script(QStringLiteral("script"), QStringLiteral("Run the script FILE headless."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption form(QStringLiteral("form"), QStringLiteral("Load FORM before the script runs."),
                                  QStringLiteral("FORM"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Render the form to the PNG file OUT and exit."),
                                        QStringLiteral("OUT"));
    const QCommandLineOption palette(
        QStringLiteral("export-palette"),
        QStringLiteral("Write the palette LAYOUT as a GIMP palette to the positional FILE."),
        QStringLiteral("LAYOUT"));
    const QCommandLineOption reg(QStringLiteral("register"),
                                 QStringLiteral("Register korvactl for this user."));
    const QCommandLineOption unreg(QStringLiteral("unregister"), QStringLiteral("Remove that registration."));
    const QCommandLineOption library(QStringLiteral("library"), QStringLiteral("Load korvactl from PATH."),
                                     QStringLiteral("PATH"));
    const QCommandLineOption reference(QStringLiteral("reference"),
                                       QStringLiteral("Print the members, events and saved keys of CLASS."),
                                       QStringLiteral("CLASS"));
    const QCommandLineOption dark(QStringLiteral("dark"),
                                  QStringLiteral("Use a dark palette that the system colours follow."));
    parser.addOptions({script, form, screenshot, palette, reg, unreg, library});
    // Not "geometry": Qt takes -geometry and --geometry for itself.
    const QCommandLineOption geometry(QStringLiteral("print-windows"),
                                      QStringLiteral("Print where each control's window is on the screen."));
    parser.addOptions({reference, dark, geometry});
    parser.addPositionalArgument(QStringLiteral("FORM"), QStringLiteral("The form file to show."));
    parser.process(app);
    const QStringList positional = parser.positionalArguments();

    if (parser.isSet(palette)) {
        if (positional.size() != 1) {
            printError(QStringLiteral("usage: korvahost --export-palette LAYOUT FILE.gpl"));
            return 2;
        }
        return exportPalette(parser.value(palette), positional[0]);
    }

    KorvaLibrary korvactl;
    QString error;
    if (!korvactl.load(parser.value(library), &error)) {
        printError(error);
        return 2;
    }

    if (parser.isSet(reference)) {
        ComPtr<IKorvaControl> control;
        if (!korvactl.createControl(parser.value(reference), control, &error)) {
            printError(error);
            return 2;
        }
        for (const QString& line : classReference(*control.get()))
            printLine(line);
        control->Terminate();
        return 0;
    }
    if (parser.isSet(dark))
        useDarkPalette(korvactl);

    if (parser.isSet(reg) || parser.isSet(unreg)) {
        const HRESULT hr = parser.isSet(reg) ? korvactl.registerServer() : korvactl.unregisterServer();
        if (FAILED(hr)) {
            printError(
                QStringLiteral("%1 failed: %2")
                    .arg(parser.isSet(reg) ? QStringLiteral("registering") : QStringLiteral("unregistering"),
                         describeResult(hr)));
            return 1;
        }
        return 0;
    }

    if (parser.isSet(script)) {
        if (!positional.isEmpty()) {
            printError(QStringLiteral("a script takes its form with --form, not as %1").arg(positional[0]));
            return 2;
        }
        return runScript(korvactl, parser.value(script), parser.value(form));
    }

    if (positional.size() != 1) {
        printError(QStringLiteral("give one form file, or --script FILE (see --help)"));
        return 2;
    }
    return showForm(korvactl, positional[0], parser.value(screenshot), parser.isSet(geometry));
}
