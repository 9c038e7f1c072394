// Colors: a drag move over the open panel (onto a main cell of another hue,
// which rebuilds and repaints the shades, against a move within one hue),
// opening the drop-down, and creating a control against a QToolButton with a
// menu. Targets: a move under 0.5 ms, opening under 16 ms.
//
// "heap_bytes" is the live heap a created instance holds (malloc statistics,
// so Qt's own containers count too); "news" the operator new calls made
// while creating it.
#include "colors/colors.h"
#include "colors/palette_model_p.h"
#include "frame/platform/scripted_platform_p.h"
#include "frame/runtime/site.h"

#include <QCoreApplication>
#include <QMenu>
#include <QToolButton>
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_news{0};
} // namespace

void* operator new(std::size_t n) {
    ++g_news;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using korva::ColorCell;
using korva::Colors;
using korva::Notification;
using korva::Value;

long liveHeap() { return static_cast<long>(mallinfo2().uordblks); }

// No event loop runs here: deliver what showing and hiding windows posted, as
// the loop would between two user actions, so it does not pile up.
void drainEvents(benchmark::State& state) {
    state.PauseTiming();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    state.ResumeTiming();
}

struct Scene {
    korva::ScriptedPlatform platform;
    std::unique_ptr<Colors> colors;
    explicit Scene(int32_t layout) {
        platform.installed(true);
        colors = Colors::createNew();
        colors->setColor(0x000000FF);
        colors->setPalette(layout);
        colors->ShowPopUp();
    }
    ~Scene() {
        colors.reset();
        platform.installed(false);
    }
    QPointF centre(const ColorCell& c) const { return {(c.Left + c.Right) / 2.0, (c.Top + c.Bottom) / 2.0}; }
    void move(QPointF p) {
        std::vector<Value> args{Value(int16_t{1}), Value(int16_t{0}), Value(static_cast<float>(p.x())),
                                Value(static_cast<float>(p.y()))};
        colors->notify(u"picDROPDOWNPANEL", -1, Notification::MouseMove, args, nullptr);
    }
};

// Alternates between RED and the next main cell, so every move reaches a new
// hue; arg 1 also repaints the panel's window before the next move.
void BM_DragMoveOtherHue(benchmark::State& state) {
    Scene s(static_cast<int32_t>(state.range(0)));
    const auto& main = s.colors->paletteModel().MainGrid();
    const QPointF a = s.centre(main[0]), b = s.centre(main[1]);
    bool flip = false;
    long rebuilds = 0;
    for (auto _ : state) {
        const std::string before = s.colors->paletteModel().BaseCell().Name;
        s.move(flip ? a : b);
        flip = !flip;
        if (state.range(1))
            s.colors->popupWidget()->repaint();
        rebuilds += s.colors->paletteModel().BaseCell().Name != before;
        if ((state.iterations() & 1023) == 0)
            drainEvents(state);
    }
    state.counters["rebuilt"] =
        benchmark::Counter(static_cast<double>(rebuilds), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DragMoveOtherHue)
    ->ArgsProduct({{korva::AP8X4X4, korva::AP16X8X6, korva::AP32X8X6}, {0, 1}})
    ->ArgNames({"layout", "repaint"})
    ->Unit(benchmark::kMicrosecond);

// Two shade cells of the current base: the hit test, preview and frame move
// only; the shades stay.
void BM_DragMoveSameHue(benchmark::State& state) {
    Scene s(static_cast<int32_t>(state.range(0)));
    const auto& shades = s.colors->paletteModel().ShadeGrid();
    const QPointF a = s.centre(shades[0]), b = s.centre(shades[shades.size() - 1]);
    bool flip = false;
    for (auto _ : state) {
        s.move(flip ? a : b);
        flip = !flip;
        if (state.range(1))
            s.colors->popupWidget()->repaint();
        if ((state.iterations() & 1023) == 0)
            drainEvents(state);
    }
}
BENCHMARK(BM_DragMoveSameHue)
    ->ArgsProduct({{korva::AP8X4X4, korva::AP16X8X6, korva::AP32X8X6}, {0, 1}})
    ->ArgNames({"layout", "repaint"})
    ->Unit(benchmark::kMicrosecond);

// ShowPopUp through a painted window, then closed again for the next round.
void BM_OpenDropDown(benchmark::State& state) {
    Scene s(static_cast<int32_t>(state.range(0)));
    s.colors->HidePopUp();
    for (auto _ : state) {
        s.colors->ShowPopUp();
        s.colors->popupWidget()->repaint();
        state.PauseTiming();
        s.colors->HidePopUp();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenDropDown)
    ->Arg(korva::AP24X8)
    ->Arg(korva::AP24X10)
    ->Arg(korva::AP32X8X6)
    ->ArgName("layout")
    ->Unit(benchmark::kMillisecond);

// Creation through the first paint (painted:1) or without it (painted:0),
// for both kinds side by side.
template <class Make> void creation(benchmark::State& state, Make make) {
    korva::ScriptedPlatform platform;
    platform.installed(true);
    QImage target(200, 50, QImage::Format_RGB32);
    long heap = 0, news = 0, rounds = 0;
    for (auto _ : state) {
        const long h0 = liveHeap();
        const long n0 = g_news;
        auto w = make();
        if (state.range(0))
            w.first->render(&target);
        heap += liveHeap() - h0;
        news += g_news - n0;
        ++rounds;
        benchmark::DoNotOptimize(w);
        w = {};
        drainEvents(state);
    }
    state.counters["heap_bytes"] = benchmark::Counter(static_cast<double>(heap) / rounds);
    state.counters["news"] = benchmark::Counter(static_cast<double>(news) / rounds);
    platform.installed(false);
}

void BM_CreateColors(benchmark::State& state) {
    creation(state, [] {
        auto c = Colors::createNew();
        QWidget* w = c->widget();
        return std::make_pair(w, std::shared_ptr<Colors>(std::move(c)));
    });
}
BENCHMARK(BM_CreateColors)->Arg(0)->Arg(1)->ArgName("painted")->Unit(benchmark::kMicrosecond);

void BM_CreateToolButtonWithMenu(benchmark::State& state) {
    creation(state, [] {
        auto b = std::make_shared<QToolButton>();
        auto* menu = new QMenu(b.get());
        for (const char* name : {"Red", "Green", "Blue", "More colors..."})
            menu->addAction(QString::fromLatin1(name));
        b->setMenu(menu);
        b->setPopupMode(QToolButton::MenuButtonPopup);
        b->resize(75, 23);
        QWidget* w = b.get();
        return std::make_pair(w, std::shared_ptr<QWidget>(std::move(b)));
    });
}
BENCHMARK(BM_CreateToolButtonWithMenu)->Arg(0)->Arg(1)->ArgName("painted")->Unit(benchmark::kMicrosecond);

} // namespace
