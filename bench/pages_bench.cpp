// Pages against QTabBar, in the same run.
//
// BM_ActiveTabs/N: an ActiveTabs let with N tabs (rebuild, layout, the look
// pictures) and the first paint of the control into an image. Each iteration
// also gives a QTabBar the same captions (cleared and refilled) and paints it
// at the same size; "x_qtabbar" is pages time / QTabBar time, both measured in
// the same loop so they share the machine's moment. Target: under 16 ms for
// 100 tabs; the 10,000-tab time over the 100-tab time should stay near 100.
//
// BM_HoverMove/N: the pointer moves from the caption piece of one inactive
// tab to the next (a MouseMove notification), then the pending repaint runs:
// notification to repainted pixels. Target: under 0.5 ms.
#include "pages/pages.h"

#include <QApplication>
#include <QImage>
#include <QTabBar>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

QString captions(int n, int round) {
    QStringList list;
    for (int i = 0; i < n; ++i)
        list << QStringLiteral("Tab %1-%2").arg(i + 1).arg(round % 2);
    return list.join(u',');
}

void BM_ActiveTabs(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto pages = korva::Pages::createNew();
    pages->widget()->resize(640, 240);
    QTabBar bar;
    bar.resize(640, 30);
    QImage pagesImage(640, 240, QImage::Format_RGB32);
    QImage barImage(640, 30, QImage::Format_RGB32);
    const QStringList split[2] = {captions(n, 0).split(u','), captions(n, 1).split(u',')};
    const QString joined[2] = {captions(n, 0), captions(n, 1)};
    Clock::duration pagesTime{}, barTime{};
    int round = 0;
    const bool compare = n <= 1000;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        pages->setActiveTabs(joined[round % 2]);
        pages->widget()->render(&pagesImage);
        const auto t1 = Clock::now();
        if (compare) {
            while (bar.count() > 0)
                bar.removeTab(bar.count() - 1);
            for (const QString& c : split[round % 2])
                bar.addTab(c);
            bar.render(&barImage);
        }
        const auto t2 = Clock::now();
        pagesTime += t1 - t0;
        barTime += t2 - t1;
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        ++round;
    }
    if (compare)
        state.counters["x_qtabbar"] =
            std::chrono::duration<double>(pagesTime).count() / std::chrono::duration<double>(barTime).count();
}
BENCHMARK(BM_ActiveTabs)->Arg(10)->Arg(100)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_HoverMove(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto pages = korva::Pages::createNew();
    pages->widget()->resize(640, 240);
    pages->setActiveTabs(captions(n, 0));
    pages->widget()->show();
    QApplication::processEvents();
    int tab = 2;
    for (auto _ : state) {
        std::vector<korva::Value> args{korva::Value(int16_t{0}), korva::Value(int16_t{0}),
                                       korva::Value(45.0f), korva::Value(45.0f)};
        pages->notify(u"imgSELCAP", tab, korva::Notification::MouseMove, args, nullptr);
        QApplication::processEvents();
        tab = tab == 2 ? 3 : 2;
    }
    pages->ObjectMouseUp();
}
BENCHMARK(BM_HoverMove)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

} // namespace
