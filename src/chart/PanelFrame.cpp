#include <algorithm>
#include <cmath>

#include "chart/ChartDrawing.h"
#include "chart/ChartFormat.h"
#include "chart/ChartPalette.h"

namespace cotalys {

namespace palette = chart_palette;

void DrawPanelFrame(const TChartPainter& AP, const TChartPanel& APanel, int AIntervals,
                    const std::string& APattern, bool AIsVolume) {
    const TPixelRect& r = APanel.Rect;
    AP.Canvas.FilledRectangle(r, palette::PanelBorder, palette::Background);
    AP.Canvas.SetFontSize(8);
    const int textHeight = AP.Canvas.TextHeight();
    for (int k = 0; k <= AIntervals; ++k) {
        const double value = APanel.MinValue + (APanel.MaxValue - APanel.MinValue) * k / AIntervals;
        const int y = APanel.ValueToY(value);
        if (k > 0 && k < AIntervals) {
            AP.Canvas.Line(r.Left + 1, y, r.Right - 1, y, palette::Grid, TLineStyle::lsSolid);
        }
        const std::string label =
            AIsVolume ? FormatChartVolume(value, AP.FS) : FormatChartValue(value, APattern, AP.FS);
        AP.Canvas.TextOut(r.Right + 4, y - textHeight / 2, label, palette::Label);
    }
    if (!APanel.Title.empty()) {
        AP.Canvas.TextInRect({r.Left + 6, r.Top + 2, r.Right - 6, r.Top + 2 + textHeight + 2},
                             APanel.Title, palette::Label, TTextPlacement::tpTopLeft);
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
