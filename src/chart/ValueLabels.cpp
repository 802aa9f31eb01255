#include <algorithm>

#include "chart/ChartDrawing.h"
#include "chart/ChartFormat.h"
#include "chart/ChartPalette.h"

namespace cotalys {

namespace {

// Pixels between the panel's right edge and its value labels.
constexpr int LabelIndent = 4;

bool OverlapsAny(const TPixelRect& ABox, const std::vector<TTextBox>& ABoxes) {
    return std::any_of(ABoxes.begin(), ABoxes.end(),
                       [&ABox](const TTextBox& AOther) { return ABox.Intersects(AOther.Box); });
}

}  // namespace

std::vector<TTextBox> ValueLabels(const TChartPainter& AP) {
    const std::vector<TTextBox> months = MonthLabels(AP);
    const TPixelRect tag = LastCloseTagBox(AP);
    AP.Canvas.SetFontSize(8);
    const int textHeight = AP.Canvas.TextHeight();
    std::vector<TTextBox> kept;
    for (const TPanelKind panelKind : PanelKinds) {
        const TChartPanel& panel = AP.Panel(panelKind);
        const TPanelScale scale = PanelScaleOf(panelKind);
        for (int k = 0; k <= scale.Intervals; ++k) {
            const double value = ScaleValue(panel, k, scale.Intervals);
            const std::string text = scale.Pattern.empty()
                                         ? FormatChartVolume(value, AP.FS)
                                         : FormatChartValue(value, scale.Pattern, AP.FS);
            const int left = panel.Rect.Right + LabelIndent;
            const int top = panel.ValueToY(value) - textHeight / 2;
            const TPixelRect box = {left, top, left + AP.Canvas.TextWidth(text), top + textHeight};
            if (!box.Intersects(tag) && !OverlapsAny(box, kept) && !OverlapsAny(box, months)) {
                kept.push_back({box, text});
            }
        }
    }
    return kept;
}

void DrawValueLabels(const TChartPainter& AP) {
    const std::vector<TTextBox> labels = ValueLabels(AP);
    AP.Canvas.SetFontSize(8);
    for (const TTextBox& label : labels) {
        AP.Canvas.TextOut(label.Box.Left, label.Box.Top, label.Text, chart_palette::Label);
    }
}

}  // namespace cotalys
