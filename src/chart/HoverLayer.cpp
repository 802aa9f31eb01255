#include "chart/ChartDrawing.h"
#include "chart/ChartFormat.h"
#include "chart/ChartPalette.h"
#include "chart/ChartTexts.h"

namespace cotalys {

namespace {

// The value at the mouse with the precision of the line above the plot.
std::string ReadOut(const TChartPainter& AP, TPanelKind AKind, double AValue) {
    switch (AKind) {
        case TPanelKind::pkPrice:
            return FormatChartValue(AValue, "0.00", AP.FS);
        case TPanelKind::pkVolume:
            return FormatChartVolume(AValue, AP.FS);
        case TPanelKind::pkMACD:
            return FormatChartValue(AValue, "0.000", AP.FS);
        case TPanelKind::pkRSI:
            break;
    }
    return FormatChartValue(AValue, "0.0", AP.FS);
}

}  // namespace

void DrawCrosshair(const TChartPainter& AP) {
    const int hover = AP.Scene.HoverIndex;
    if (hover >= AP.Scene.First && hover <= AP.Last()) {
        const int x = AP.Axis.IndexToX(hover);
        AP.Canvas.Line(x, AP.Layout.Plot.Top, x, AP.Layout.Plot.Bottom, chart_palette::Crosshair,
                       TLineStyle::lsDashed);
    }
    const int y = AP.Scene.HoverY;
    for (const TPanelKind kind : PanelKinds) {
        const TChartPanel& panel = AP.Panel(kind);
        if (y < panel.Rect.Top || y >= panel.Rect.Bottom) {
            continue;
        }
        AP.Canvas.Line(panel.Rect.Left + 1, y, panel.Rect.Right - 1, y, chart_palette::Crosshair,
                       TLineStyle::lsDashed);
        DrawMarginTag(AP, y, chart_palette::Crosshair, ReadOut(AP, kind, panel.YToValue(y)));
    }
}

void DrawHoverText(const TChartPainter& AP) {
    AP.Canvas.SetFontSize(9);
    AP.Canvas.TextInRect({PlotLeftMargin, 0, AP.Width - 4, HoverBandHeight},
                         HoverLineText(AP.Scene, AP.FS), chart_palette::HoverText,
                         TTextPlacement::tpMiddleLeft);
}

}  // namespace cotalys
