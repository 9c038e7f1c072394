// Spin against QSpinBox, in the same run:
//  - a keyboard step: the Up-arrow key notification on txtUPDOWN through to
//    the new value painted, against QSpinBox::stepUp() and its repaint. The
//    KeyStep_SideBySide row times both inside one loop and reports the ratio
//    as "x_qspinbox" (target: at most 2, and under 0.5 ms a step);
//  - creating one instance up to its first paint, with the heap it keeps
//    (live bytes from the allocator) and the operator new calls it made.
// Instances sit as children of one shown form, as on a host's form.
#include "frame/runtime/control.h"
#include "spin/spin.h"

#include <QApplication>
#include <QSpinBox>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

// ---- allocation counting ----------------------------------------------------------

namespace {
std::atomic<long long> newCalls{0};
}

void* operator new(std::size_t n) {
    newCalls.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

long long liveHeap() { return static_cast<long long>(mallinfo2().uordblks); }

QWidget& form() {
    static QWidget* f = [] {
        auto* w = new QWidget;
        w->resize(800, 600);
        w->show();
        QApplication::processEvents();
        return w;
    }();
    return *f;
}

struct SpinUnderTest {
    std::unique_ptr<korva::Spin> spin = korva::Spin::createNew();
    SpinUnderTest() {
        spin->setMax(2147483647);
        spin->widget()->setParent(&form());
        spin->widget()->show();
        spin->widget()->repaint();
    }
    void step() {
        std::vector<korva::Value> args{korva::Value(int16_t{38}), korva::Value(int16_t{0})};
        spin->notify(u"txtUPDOWN", -1, korva::Notification::KeyDown, args, nullptr);
        spin->widget()->repaint();
    }
};

struct QSpinUnderTest {
    QSpinBox box{&form()};
    QSpinUnderTest() {
        box.setRange(0, 2147483647);
        box.resize(187, 37);
        box.show();
        box.repaint();
    }
    void step() {
        box.stepUp();
        box.repaint();
    }
};

void BM_KeyStep_Spin(benchmark::State& state) {
    SpinUnderTest s;
    for (auto _ : state)
        s.step();
}
BENCHMARK(BM_KeyStep_Spin)->Unit(benchmark::kMicrosecond);

void BM_KeyStep_QSpinBox(benchmark::State& state) {
    QSpinUnderTest q;
    for (auto _ : state)
        q.step();
}
BENCHMARK(BM_KeyStep_QSpinBox)->Unit(benchmark::kMicrosecond);

void BM_KeyStep_SideBySide(benchmark::State& state) {
    SpinUnderTest s;
    QSpinUnderTest q;
    using Clock = std::chrono::steady_clock;
    Clock::duration spinTime{}, qTime{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        s.step();
        const auto t1 = Clock::now();
        q.step();
        const auto t2 = Clock::now();
        spinTime += t1 - t0;
        qTime += t2 - t1;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["spin_us"] = std::chrono::duration<double, std::micro>(spinTime).count() / n;
    state.counters["qspinbox_us"] = std::chrono::duration<double, std::micro>(qTime).count() / n;
    state.counters["x_qspinbox"] = static_cast<double>(spinTime.count()) / static_cast<double>(qTime.count());
}
BENCHMARK(BM_KeyStep_SideBySide)->Unit(benchmark::kMicrosecond);

// Creation to first paint, then the heap kept by a batch of live instances.
template <class Make> void creation(benchmark::State& state, Make make) {
    { auto warm = make(); } // one-time set-up (fonts, styles) is not an instance's
    for (auto _ : state) {
        auto one = make();
        benchmark::DoNotOptimize(one.get());
    }
    constexpr int kBatch = 50;
    const long long heap0 = liveHeap();
    const long long calls0 = newCalls.load();
    std::vector<decltype(make())> kept;
    kept.reserve(kBatch);
    const long long heap1 = liveHeap();
    for (int i = 0; i < kBatch; ++i)
        kept.push_back(make());
    state.counters["heap_bytes"] = static_cast<double>(liveHeap() - heap1) / kBatch;
    state.counters["news"] = static_cast<double>(newCalls.load() - calls0) / kBatch;
    benchmark::DoNotOptimize(heap0);
}

void BM_Create_Spin(benchmark::State& state) {
    creation(state, [] { return std::make_unique<SpinUnderTest>(); });
}
BENCHMARK(BM_Create_Spin)->Unit(benchmark::kMicrosecond);

void BM_Create_QSpinBox(benchmark::State& state) {
    creation(state, [] { return std::make_unique<QSpinUnderTest>(); });
}
BENCHMARK(BM_Create_QSpinBox)->Unit(benchmark::kMicrosecond);

} // namespace
