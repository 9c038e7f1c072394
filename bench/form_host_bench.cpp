// Forms of many controls, as korvahost builds them: loading a form file and
// adding controls one by one with `new`. Both must grow linearly with the
// number of controls; the rows report the fitted complexity (expect N, and a
// per-control time that stays flat from 500 to 4000 controls).
#include "host/form_host.h"
#include "host/library.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using korva::host::FormHost;
using korva::host::KorvaLibrary;

KorvaLibrary& library() {
    static KorvaLibrary lib;
    static const bool loaded = [] {
        QString error;
        const bool ok = lib.load(QString(), &error);
        if (!ok)
            qFatal("cannot load korvactl: %s", qPrintable(error));
        lib.runtime()->UseScriptedPlatform(true);
        return ok;
    }();
    (void)loaded;
    return lib;
}

void BM_LoadForm(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath("many.form");
    QByteArray text = "korvactl form 1\n";
    for (int i = 0; i < n; ++i)
        text += "Begin korvactl.Pane P" + QByteArray::number(i) +
                "\n    Left = 0\n    Top = " + QByteArray::number(i * 525) +
                "\n    Width = 1575\n    Height = 525\nEnd\n";
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    f.close();
    for (auto _ : state) {
        FormHost form(library(), [](const QString&) {});
        QString error;
        if (!form.load(path, &error))
            state.SkipWithError(qPrintable(error));
        benchmark::DoNotOptimize(form.controls().size());
    }
    state.SetComplexityN(n);
    state.counters["per_control"] = benchmark::Counter(
        static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LoadForm)->RangeMultiplier(2)->Range(500, 4000)->Complexity()->Unit(benchmark::kMillisecond);

void BM_NewControls(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        FormHost form(library(), [](const QString&) {});
        QString error;
        for (int i = 0; i < n; ++i)
            if (!form.addNew(QStringLiteral("Pane"), QStringLiteral("P%1").arg(i), std::nullopt, &error))
                state.SkipWithError(qPrintable(error));
        benchmark::DoNotOptimize(form.controls().size());
    }
    state.SetComplexityN(n);
    state.counters["per_control"] = benchmark::Counter(
        static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_NewControls)->RangeMultiplier(2)->Range(500, 4000)->Complexity()->Unit(benchmark::kMillisecond);

} // namespace
