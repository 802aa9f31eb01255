#include <algorithm>
#include <cmath>

#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"

namespace cotalys {

namespace palette = chart_palette;

TPanelScale PanelScaleOf(TPanelKind AKind) {
    switch (AKind) {
        case TPanelKind::pkPrice:
            return {6, "0.00"};
        case TPanelKind::pkVolume:
            return {2, ""};
        case TPanelKind::pkMACD:
            return {4, "0.00"};
        case TPanelKind::pkRSI:
            break;
    }
    return {4, "0"};
}

double ScaleValue(const TChartPanel& APanel, int AStep, int AIntervals) {
    return APanel.MinValue + (APanel.MaxValue - APanel.MinValue) * AStep / AIntervals;
}

void DrawPanelFrame(const TChartPainter& AP, TPanelKind AKind) {
    const TChartPanel& panel = AP.Panel(AKind);
    const TPixelRect& r = panel.Rect;
    AP.Canvas.FilledRectangle(r, palette::PanelBorder, palette::Background);
    const int intervals = PanelScaleOf(AKind).Intervals;
    for (int k = 1; k < intervals; ++k) {
        const int y = panel.ValueToY(ScaleValue(panel, k, intervals));
        AP.Canvas.Line(r.Left + 1, y, r.Right - 1, y, palette::Grid, TLineStyle::lsSolid);
    }
}

void DrawSeriesLine(const TChartPainter& AP, const TChartPanel& APanel,
                    const std::vector<double>& AValues, TColor AColor, int AWidth) {
    std::vector<QPoint> run;
    const int last = std::min(AP.Last(), static_cast<int>(AValues.size()) - 1);
    for (int i = AP.Scene.First; i <= last; ++i) {
        if (std::isnan(AValues[i])) {
            AP.Canvas.Polyline(run, AColor, AWidth);
            run.clear();
            continue;
        }
        run.emplace_back(AP.Axis.IndexToX(i), APanel.ValueToY(AValues[i]));
    }
    AP.Canvas.Polyline(run, AColor, AWidth);
}

void DrawLevelLine(const TChartPainter& AP, const TChartPanel& APanel, double AValue, TColor AColor,
                   TLineStyle AStyle) {
    const int y = APanel.ValueToY(AValue);
    AP.Canvas.Line(APanel.Rect.Left + 1, y, APanel.Rect.Right - 1, y, AColor, AStyle);
}

}  // namespace cotalys
