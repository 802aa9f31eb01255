#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"

namespace cotalys {

namespace palette = chart_palette;

void DrawRSIPanel(const TChartPainter& AP) {
    const TChartPanel& panel = AP.Panel(TPanelKind::pkRSI);
    const TPixelRect& r = panel.Rect;
    DrawPanelFrame(AP, TPanelKind::pkRSI);
    AP.Canvas.FillRect({r.Left + 1, panel.ValueToY(70), r.Right - 1, panel.ValueToY(30)},
                       palette::RSIBand);
    DrawLevelLine(AP, panel, 70, palette::RSIHigh, TLineStyle::lsDotted);
    DrawLevelLine(AP, panel, 30, palette::RSILow, TLineStyle::lsDotted);
    DrawLevelLine(AP, panel, 50, palette::PanelBorder, TLineStyle::lsDotted);
    DrawSeriesLine(AP, panel, AP.Scene.Analysis->RSI(), palette::RSILine, 2);
}

}  // namespace cotalys
