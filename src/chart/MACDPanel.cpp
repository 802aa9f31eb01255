#include <algorithm>
#include <cmath>

#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"

namespace cotalys {

namespace palette = chart_palette;

namespace {

void DrawHistogram(const TChartPainter& AP, const TChartPanel& APanel,
                   const std::vector<double>& AHistogram) {
    const int y0 = APanel.ValueToY(0);
    const int barWidth = AP.Axis.BarWidth();
    for (int i = AP.Scene.First; i <= AP.Last(); ++i) {
        const double value = ValueAt(AHistogram, i);
        if (std::isnan(value)) {
            continue;
        }
        const int y = APanel.ValueToY(value);
        const int left = AP.Axis.IndexToX(i) - AP.HalfBar();
        AP.Canvas.FillRect({left, std::min(y, y0), left + barWidth, std::max(y, y0) + 1},
                           palette::HistogramColor(value, ValueAt(AHistogram, i - 1)));
    }
}

}  // namespace

void DrawMACDPanel(const TChartPainter& AP) {
    const TChartPanel& panel = AP.Panel(TPanelKind::pkMACD);
    const TMACDResult& macd = AP.Scene.Analysis->MACD();
    DrawPanelFrame(AP, TPanelKind::pkMACD);
    DrawLevelLine(AP, panel, 0, palette::PanelBorder, TLineStyle::lsSolid);
    DrawHistogram(AP, panel, macd.Histogram);
    DrawSeriesLine(AP, panel, macd.MACD, palette::MACDLine, 2);
    DrawSeriesLine(AP, panel, macd.Signal, palette::SignalLine, 1);
}

}  // namespace cotalys
