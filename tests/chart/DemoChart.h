#pragma once

#include <string>

#include "../support/DemoHistory.h"
#include "chart/ChartView.h"

namespace cotalys::test {

// Fifteen months of a bundled history up to ALastDay (by default its last session, 22 February
// 2021) with all the main window gives the chart: MACD and RSI, volume colours, zones and entry
// signals, shown over the last year. Free of the test framework, so the benchmarks draw the
// same chart.
struct TDemoChart {
    explicit TDemoChart(const std::string& ASymbol, TDateTime ALastDay = LastDay)
        : Series(LoadDemoHistory(ASymbol, IncMonth(ALastDay, -15), ALastDay)),
          Analysis(&Series, TMACDParams::Default(), 14),
          Colorizer(20) {
        Analysis.Compute();
        Colorizer.Compute(Series);
        Scene = TChartScene::Of(Series, Analysis, Colorizer, IncMonth(ALastDay, -12));
        Scene.Zones = TSupportResistanceAnalyzer(TSRParams::Default()).Analyze(Series).Zones;
        Scene.Signals = TEntrySignalDetector(TSignalParams::Default(), TSRParams::Default())
                            .Scan(Series, Analysis, Scene.First);
    }
    TDemoChart(const TDemoChart&) = delete;
    TDemoChart& operator=(const TDemoChart&) = delete;

    static constexpr TDateTime LastDay = 44249;  // 22 February 2021

    TPriceSeries Series;
    TTechnicalAnalysis Analysis;
    TVolumeColorizer Colorizer;
    TChartScene Scene;
};

}  // namespace cotalys::test
