#include <algorithm>

#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"

namespace cotalys {

namespace palette = chart_palette;

bool IsDisplayed(const TChartPainter& AP, const TEntrySignal& ASignal) {
    return ASignal.Index >= AP.Scene.First && ASignal.Index <= AP.Last();
}

TSignalArrow ArrowOf(const TChartPainter& AP, const TEntrySignal& ASignal) {
    const TChartPanel& panel = AP.Panel(TPanelKind::pkPrice);
    AP.Canvas.SetFontSize(8);
    TSignalArrow arrow;
    // The arrow grows with the text so it stays readable beside the labels.
    arrow.Size = std::max(AP.Canvas.TextHeight() / 2, 5);
    arrow.X = AP.Axis.IndexToX(ASignal.Index);
    // Under the bar's low, but never pushed out of the bottom of the panel.
    arrow.Top = std::min(panel.ValueToY(AP.Bar(ASignal.Index).Low) + 4,
                         panel.Rect.Bottom - 2 * arrow.Size - 2);
    return arrow;
}

void DrawSignals(const TChartPainter& AP) {
    for (const TEntrySignal& signal : AP.Scene.Signals) {
        if (!IsDisplayed(AP, signal)) {
            continue;
        }
        const TSignalArrow arrow = ArrowOf(AP, signal);
        const int x = arrow.X;
        const int top = arrow.Top;
        const int size = arrow.Size;
        const TColor color = signal.IsComplete() ? palette::CompleteSignal : palette::PartialSignal;
        AP.Canvas.FillPolygon({{x, top}, {x - size, top + size}, {x + size, top + size}}, color);
        AP.Canvas.FillRect({x - size / 3, top + size, x + size / 3 + 1, top + 2 * size}, color);
    }
}

}  // namespace cotalys
