#include <algorithm>

#include "chart/ChartDrawing.h"
#include "chart/ChartFormat.h"
#include "chart/ChartPalette.h"

namespace cotalys {

namespace {

// Wicks always; bodies only when a bar is more than 2 pixels wide.
void DrawCandles(const TChartPainter& AP, const TChartPanel& APanel) {
    const TVolumeColorizer& colorizer = *AP.Scene.Colorizer;
    const int barWidth = AP.Axis.BarWidth();
    for (int i = AP.Scene.First; i <= AP.Last(); ++i) {
        const TPriceBar& bar = AP.Bar(i);
        const int x = AP.Axis.IndexToX(i);
        const TColor outline = colorizer.OutlineColor(i);
        AP.Canvas.Line(x, APanel.ValueToY(bar.High), x, APanel.ValueToY(bar.Low) + 1, outline,
                       TLineStyle::lsSolid);
        if (barWidth > 2) {
            const int yOpen = APanel.ValueToY(bar.Open);
            const int yClose = APanel.ValueToY(bar.Close);
            const int left = x - AP.HalfBar();
            AP.Canvas.FilledRectangle(
                {left, std::min(yOpen, yClose), left + barWidth, std::max(yOpen, yClose) + 2},
                outline, colorizer.BarColor(i));
        }
    }
}

// The last close in the right margin, on a tag of the last bar's colour.
void DrawLastCloseTag(const TChartPainter& AP, const TChartPanel& APanel) {
    const int last = AP.Last();
    const double close = AP.Bar(last).Close;
    const int y = APanel.ValueToY(close);
    const int right = APanel.Rect.Right;
    AP.Canvas.SetFontSize(8);
    AP.Canvas.FillRect({right + 1, y - 8, right + 68, y + 8},
                       AP.Scene.Colorizer->OutlineColor(last));
    AP.Canvas.TextOut(right + 4, y - AP.Canvas.TextHeight() / 2,
                      FormatChartValue(close, "0.00", AP.FS), chart_palette::White);
}

}  // namespace

void DrawPricePanel(const TChartPainter& AP) {
    const TChartPanel& panel = AP.Panel(TPanelKind::pkPrice);
    DrawPanelFrame(AP, panel, 6, "0.00", false);
    DrawZones(AP, false);
    DrawCandles(AP, panel);
    DrawSignals(AP);
    DrawZones(AP, true);
    DrawLastCloseTag(AP, panel);
}

}  // namespace cotalys
