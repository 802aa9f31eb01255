#include <limits>

#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"

namespace cotalys {

namespace {

int MonthOf(TDateTime ADate) {
    int year = 0, month = 0, day = 0;
    DecodeDate(ADate, year, month, day);
    return month;
}

}  // namespace

void DrawDateAxis(const TChartPainter& AP) {
    AP.Canvas.SetFontSize(8);
    int lastRight = std::numeric_limits<int>::min();
    for (int i = AP.Scene.First + 1; i <= AP.Last(); ++i) {
        const TDateTime date = AP.Bar(i).Date;
        if (MonthOf(date) == MonthOf(AP.Bar(i - 1).Date)) {
            continue;
        }
        const int x = AP.Axis.IndexToX(i);
        for (const TChartPanel& panel : AP.Layout.Panels) {
            AP.Canvas.Line(x, panel.Rect.Top + 1, x, panel.Rect.Bottom - 1, chart_palette::Grid,
                           TLineStyle::lsDotted);
        }
        const std::string label = FormatDateTime("mmm yy", date, AP.FS);
        const int halfWidth = AP.Canvas.TextWidth(label) / 2;
        // A label that would touch the previous one is skipped; its separator stays.
        if (lastRight + 6 >= x - halfWidth) {
            continue;
        }
        AP.Canvas.TextOut(x - halfWidth, AP.Layout.Plot.Bottom + 3, label, chart_palette::Label);
        lastRight = x + halfWidth;
    }
}

}  // namespace cotalys
