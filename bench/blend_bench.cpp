// Draw against a plain one-colour fill of the same 1000 x 1000 surface. The
// Draw rows also time a fill of their own inside the same loop, in the
// thread's processor time, and report draw/fill as "x_fill", so the ratio
// never compares numbers from different moments of a noisy machine.
// Target: x_fill at most 1.5 at every angle.
#include "blend/clsm_blend_p.h"
#include "frame/elements/image_surface_p.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

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

// The thread's own processor time: on a shared machine the wall clock also
// counts the moments other programs held the core.
struct ThreadClock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<ThreadClock>;
    static time_point now() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return time_point(duration(int64_t{t.tv_sec} * 1000000000 + t.tv_nsec));
    }
};

void BM_Draw(benchmark::State& state) {
    korva::ImageSurface surface(kSize, kSize);
    korva::clsm_BLEND blend;
    blend.setAngle(static_cast<float>(state.range(0)));
    using Clock = ThreadClock;
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
// Every kind of sweep: one colour per row (90, 270), rows that are windows
// into the colour run (steep lines, 45 degrees included), staircases (slanted
// flat lines) and nearly flat lines painted as stretches of one colour.
BENCHMARK(BM_Draw)
    ->ArgsProduct({{0, 10, 30, 45, 60, 80, 88, 89, 90, 91, 100, 135, 170, 180, 225, 250, 270, 315}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
