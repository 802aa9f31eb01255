#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <memory>

#include "../tests/chart/DemoChart.h"
#include "chart/ChartView.h"

namespace cotalys {
namespace {

constexpr int Width = 1600;
constexpr int Height = 1000;

// Fonts and painters need an application object; without a display it runs off screen.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "bench_chart";
    static char* argv[] = {name, nullptr};
    static const std::unique_ptr<QGuiApplication> application = [] {
        if (qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
}

const test::TDemoChart& AirLiquide() {
    EnsureApplication();
    static const test::TDemoChart chart("AI.PA");
    return chart;
}

// The export as the main window makes it: a year of Air Liquide with zones and signals.
void BM_RenderChart1600x1000(benchmark::State& AState) {
    const test::TDemoChart& chart = AirLiquide();
    const QFont font = ChartFont();
    for (auto _ : AState) {
        benchmark::DoNotOptimize(RenderChartImage(chart.Scene, Width, Height, font));
    }
}
BENCHMARK(BM_RenderChart1600x1000)->Unit(benchmark::kMillisecond);

void BM_EncodeChartPng1600x1000(benchmark::State& AState) {
    const test::TDemoChart& chart = AirLiquide();
    const QImage image = RenderChartImage(chart.Scene, Width, Height, ChartFont());
    std::size_t bytes = 0;
    for (auto _ : AState) {
        bytes = EncodePng(image).size();
        benchmark::DoNotOptimize(bytes);
    }
    AState.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_EncodeChartPng1600x1000)->Unit(benchmark::kMillisecond);

// Both together: the target is under 100 ms.
void BM_RenderAndEncodeChart1600x1000(benchmark::State& AState) {
    const test::TDemoChart& chart = AirLiquide();
    const QFont font = ChartFont();
    for (auto _ : AState) {
        benchmark::DoNotOptimize(EncodePng(RenderChartImage(chart.Scene, Width, Height, font)));
    }
}
BENCHMARK(BM_RenderAndEncodeChart1600x1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cotalys
