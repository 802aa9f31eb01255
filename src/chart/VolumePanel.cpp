#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"

namespace cotalys {

void DrawVolumePanel(const TChartPainter& AP) {
    const TChartPanel& panel = AP.Panel(TPanelKind::pkVolume);
    const TVolumeColorizer& colorizer = *AP.Scene.Colorizer;
    DrawPanelFrame(AP, TPanelKind::pkVolume);
    // Without volumes, the title line says so instead.
    if (!colorizer.HasVolume()) {
        return;
    }
    const int barWidth = AP.Axis.BarWidth();
    for (int i = AP.Scene.First; i <= AP.Last(); ++i) {
        const int left = AP.Axis.IndexToX(i) - AP.HalfBar();
        const int top = panel.ValueToY(static_cast<double>(AP.Bar(i).Volume));
        AP.Canvas.FillRect({left, top, left + barWidth, panel.Rect.Bottom - 1},
                           colorizer.BarColor(i));
    }
    DrawSeriesLine(AP, panel, colorizer.Averages(), chart_palette::VolumeAverage, 1);
}

}  // namespace cotalys
