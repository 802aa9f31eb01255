#include <limits>

#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"

namespace cotalys {

std::vector<int> MonthStarts(const TChartPainter& AP) {
    std::vector<int> starts;
    for (int i = AP.Scene.First + 1; i <= AP.Last(); ++i) {
        if (MonthOf(AP.Bar(i).Date) != MonthOf(AP.Bar(i - 1).Date)) {
            starts.push_back(i);
        }
    }
    return starts;
}

std::vector<TTextBox> MonthLabels(const TChartPainter& AP) {
    AP.Canvas.SetFontSize(8);
    const int top = AP.Layout.Plot.Bottom + 3;
    std::vector<TTextBox> labels;
    int lastRight = std::numeric_limits<int>::min();
    for (int i : MonthStarts(AP)) {
        const int x = AP.Axis.IndexToX(i);
        const std::string label = FormatDateTime("mmm yy", AP.Bar(i).Date, AP.FS);
        const int width = AP.Canvas.TextWidth(label);
        // A label that would touch the previous one is left out; its separator stays.
        if (lastRight + 6 >= x - width / 2) {
            continue;
        }
        labels.push_back(
            {{x - width / 2, top, x - width / 2 + width, top + AP.Canvas.TextHeight()}, label});
        lastRight = x + width / 2;
    }
    return labels;
}

void DrawDateAxis(const TChartPainter& AP) {
    // The separators leave the title lines clear.
    AP.Canvas.SetClip({0, 0, AP.Width, AP.Height}, TitleBoxes(AP));
    for (int i : MonthStarts(AP)) {
        const int x = AP.Axis.IndexToX(i);
        for (const TChartPanel& panel : AP.Layout.Panels) {
            AP.Canvas.Line(x, panel.Rect.Top + 1, x, panel.Rect.Bottom - 1, chart_palette::Grid,
                           TLineStyle::lsDotted);
        }
    }
    AP.Canvas.RemoveClip();
    for (const TTextBox& label : MonthLabels(AP)) {
        AP.Canvas.TextOut(label.Box.Left, label.Box.Top, label.Text, chart_palette::Label);
    }
}

}  // namespace cotalys
