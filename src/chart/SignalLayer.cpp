#include <algorithm>

#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"

namespace cotalys {

namespace palette = chart_palette;

void DrawSignals(const TChartPainter& AP) {
    const TChartPanel& panel = AP.Panel(TPanelKind::pkPrice);
    AP.Canvas.SetFontSize(8);
    // The arrow grows with the text so it stays readable beside the labels.
    const int size = std::max(AP.Canvas.TextHeight() / 2, 5);
    for (const TEntrySignal& signal : AP.Scene.Signals) {
        if (signal.Index < AP.Scene.First || signal.Index > AP.Last()) {
            continue;
        }
        const int x = AP.Axis.IndexToX(signal.Index);
        // Under the bar's low, but never pushed out of the bottom of the panel.
        const int top = std::min(panel.ValueToY(AP.Bar(signal.Index).Low) + 4,
                                 panel.Rect.Bottom - 2 * size - 2);
        const TColor color = signal.IsComplete() ? palette::CompleteSignal : palette::PartialSignal;
        AP.Canvas.FillPolygon({{x, top}, {x - size, top + size}, {x + size, top + size}}, color);
        AP.Canvas.FillRect({x - size / 3, top + size, x + size / 3 + 1, top + 2 * size}, color);
    }
}

}  // namespace cotalys
