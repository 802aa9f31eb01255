#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"

namespace cotalys {

void DrawVolumePanel(const TChartPainter& AP) {
    const TChartPanel& panel = AP.Panel(TPanelKind::pkVolume);
    const TPixelRect& r = panel.Rect;
    const TVolumeColorizer& colorizer = *AP.Scene.Colorizer;
    DrawPanelFrame(AP, panel, 2, "", true);
    if (!colorizer.HasVolume()) {
        AP.Canvas.TextOut(r.Left + AP.Canvas.TextWidth(panel.Title + "MM") + 6, r.Top + 3,
                          "(volumes indisponibles pour cette source)", chart_palette::Label);
        return;
    }
    const int barWidth = AP.Axis.BarWidth();
    for (int i = AP.Scene.First; i <= AP.Last(); ++i) {
        const int left = AP.Axis.IndexToX(i) - AP.HalfBar();
        const int top = panel.ValueToY(static_cast<double>(AP.Bar(i).Volume));
        AP.Canvas.FillRect({left, top, left + barWidth, r.Bottom - 1}, colorizer.BarColor(i));
    }
    DrawSeriesLine(AP, panel, colorizer.Averages(), chart_palette::VolumeAverage, 1);
}

}  // namespace cotalys
