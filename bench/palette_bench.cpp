// RebuildPalette runs on every Palette change and whenever a control is
// created or loaded, so forms with many colour buttons pay it many times.
#include "colors/palette_model_p.h"

#include <benchmark/benchmark.h>

namespace {

void rebuild(benchmark::State& state, korva::enZAVINPalette layout, std::uint32_t chosen) {
    korva::PaletteModel model;
    model.SetSelectedColor(chosen);
    model.SetPaletteValue(layout);
    for (auto _ : state) {
        model.RebuildPalette();
        // FindCell replaces the selected cell; keep asking for the same colour.
        model.SetSelectedColor(chosen);
        benchmark::DoNotOptimize(model.MainGrid().data());
    }
    state.SetItemsProcessed(state.iterations() *
                            static_cast<std::int64_t>(model.MainGrid().size() + model.ShadeGrid().size()));
}

// A mid-luminance hue not on any grid, so both lookups scan every cell.
constexpr std::uint32_t kOffPalette = 0x003C8AD2;

} // namespace

BENCHMARK_CAPTURE(rebuild, AP24X10, korva::AP24X10, kOffPalette);
BENCHMARK_CAPTURE(rebuild, AP24X8, korva::AP24X8, kOffPalette);
BENCHMARK_CAPTURE(rebuild, AP16X8, korva::AP16X8, kOffPalette);
BENCHMARK_CAPTURE(rebuild, AP32X8X6, korva::AP32X8X6, kOffPalette);
BENCHMARK_CAPTURE(rebuild, AP24X8X6, korva::AP24X8X6, kOffPalette);
BENCHMARK_CAPTURE(rebuild, AP16X8X6, korva::AP16X8X6, kOffPalette);
// A grey chosen colour builds the grey shade set instead.
BENCHMARK_CAPTURE(rebuild, AP32X8X6_grey, korva::AP32X8X6, 0x00404040);

BENCHMARK_MAIN();
