// The script runner, as korvahost runs it, on a form of its own. Files stay
// in a scratch folder (the runner is confined to it). Lines that only cost
// time by design are left out: drawing a whole control (grab, pixel), clock
// advances past ten seconds and sizes past 100,000 twips. After the script
// the form goes through save and load twice: the second round must give the
// text the first one gave.
#include "fuzz/fuzz_support.h"
#include "host/form_host.h"
#include "host/library.h"
#include "host/script.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using namespace korva;
using namespace korva::host;

namespace {

KorvaLibrary& library() {
    static KorvaLibrary* lib = [] {
        auto* l = new KorvaLibrary;
        QString error;
        if (!l->load(QString(), &error)) {
            std::fprintf(stderr, "cannot load korvactl: %s\n", qPrintable(error));
            std::abort();
        }
        l->runtime()->UseScriptedPlatform(true);
        return l;
    }();
    return *lib;
}

bool tooCostly(const QString& line) {
    std::vector<Token> t;
    if (!tokenizeLine(line, t, nullptr) || t.empty())
        return false;
    const QString cmd = t[0].text.toLower();
    if (cmd == u"grab" || cmd == u"pixel")
        return true;
    const double limit = cmd == u"tick" ? 10000 : (cmd == u"resize" || cmd == u"new") ? 100000 : -1;
    if (limit < 0)
        return false;
    for (const Token& token : t) {
        bool ok = false;
        const double v = token.text.toDouble(&ok);
        if (ok && !(std::fabs(v) <= limit))
            return true;
    }
    return false;
}

QString savedText(FormHost& form, const QString& path) {
    QString error;
    FUZZ_CHECK(form.save(path, &error));
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::ReadOnly));
    return QString::fromUtf8(f.readAll());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ensureApplication();
    KorvaLibrary& lib = library();
    // Saving syncs to disk; memory-backed storage keeps the runs fast.
    static QTemporaryDir scratch(QDir(QStringLiteral("/dev/shm")).exists()
                                     ? QStringLiteral("/dev/shm/korva-fuzz-XXXXXX")
                                     : QDir::tempPath() + QStringLiteral("/korva-fuzz-XXXXXX"));
    const QString dir = scratch.path();

    QStringList lines = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))
                            .split(u'\n')
                            .mid(0, 64);
    lines.removeIf(tooCostly);
    // Each input starts from an empty folder, so a finding reproduces alone.
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
        QFile::remove(QDir(dir).filePath(name));
    {
        FormHost form(lib, [](const QString&) {});
        ScriptRunner runner(
            form, lib, [](const QString&) {}, dir);
        runner.confineFilesToBaseDir(true);
        runner.run(lines.join(u'\n'));

        // A control may settle a saved value once (a key read under another
        // name, say); from then on saving and loading change nothing.
        QString text = savedText(form, QDir(dir).filePath(QStringLiteral("check0.form")));
        for (int round = 1; round <= 2; ++round) {
            FormHost reloaded(lib, [](const QString&) {});
            QString error;
            FUZZ_CHECK(
                reloaded.load(QDir(dir).filePath(QStringLiteral("check%1.form").arg(round - 1)), &error));
            const QString again =
                savedText(reloaded, QDir(dir).filePath(QStringLiteral("check%1.form").arg(round)));
            if (round == 2)
                FUZZ_CHECK(again == text);
            text = again;
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
