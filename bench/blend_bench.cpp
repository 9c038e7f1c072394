// Draw against a plain one-colour fill of the same 1000 x 1000 surface. The
// Draw rows also time a fill of their own inside the same loop and report
// draw/fill as "x_fill", so the ratio never compares numbers from different
// moments of a noisy machine. Target: x_fill at most 1.5 where rows are windows
// into the colour run or one colour (angles whose lines are at least as steep
// as 45 degrees, and 90 and 270); slanted flat lines (60, 135) are painted
// through colour indices and stay above that.
#include "blend/clsm_blend.h"
#include "frame/elements/image_surface_p.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int kSize = 1000;

void BM_PlainFill(benchmark::State& state) {
    korva::ImageSurface surface(kSize, kSize);
    for (auto _ : state) {
        surface.backingImage()->fill(korva::pixelOfColour(0x00FFFFD0));
        benchmark::DoNotOptimize(surface.backingImage()->constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainFill)->Unit(benchmark::kMicrosecond);

void BM_Draw(benchmark::State& state) {
    korva::ImageSurface surface(kSize, kSize);
    korva::clsm_BLEND blend;
    blend.setAngle(static_cast<float>(state.range(0)));
    using Clock = std::chrono::steady_clock;
    Clock::duration drawTime{}, fillTime{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        surface.backingImage()->fill(korva::pixelOfColour(0x00400000));
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        const bool drawn = blend.Draw(surface);
        benchmark::DoNotOptimize(drawn);
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        fillTime += t1 - t0;
        drawTime += t2 - t1;
        state.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    }
    state.counters["x_fill"] =
        std::chrono::duration<double>(drawTime).count() / std::chrono::duration<double>(fillTime).count();
}
BENCHMARK(BM_Draw)->Arg(0)->Arg(90)->Arg(270)->Arg(315)->Arg(30)->Arg(60)->Arg(135)->UseManualTime()->Unit(
    benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
