#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"
#include "chart/ChartTexts.h"

namespace cotalys {

void DrawCrosshair(const TChartPainter& AP) {
    const int hover = AP.Scene.HoverIndex;
    if (hover < AP.Scene.First || hover > AP.Last()) {
        return;
    }
    const int x = AP.Axis.IndexToX(hover);
    AP.Canvas.Line(x, AP.Layout.Plot.Top, x, AP.Layout.Plot.Bottom, chart_palette::Crosshair,
                   TLineStyle::lsDashed);
}

void DrawHoverText(const TChartPainter& AP) {
    AP.Canvas.SetFontSize(9);
    AP.Canvas.TextInRect({PlotLeftMargin, 0, AP.Width - 4, HoverBandHeight},
                         HoverLineText(AP.Scene, AP.FS), chart_palette::HoverText,
                         TTextPlacement::tpMiddleLeft);
}

}  // namespace cotalys
