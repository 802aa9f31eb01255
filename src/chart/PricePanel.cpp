#include <algorithm>

#include "chart/ChartDrawing.h"
#include "chart/ChartFormat.h"
#include "chart/ChartPalette.h"

namespace cotalys {

namespace {

// Wicks always; bodies only when a bar is more than 2 pixels wide.
void DrawCandles(const TChartPainter& AP) {
    const TVolumeColorizer& colorizer = *AP.Scene.Colorizer;
    for (int i = AP.Scene.First; i <= AP.Last(); ++i) {
        const TCandle candle = CandleOf(AP, i);
        const TColor outline = colorizer.OutlineColor(i);
        AP.Canvas.Line(candle.X, candle.WickTop, candle.X, candle.WickBottom, outline,
                       TLineStyle::lsSolid);
        if (candle.HasBody) {
            AP.Canvas.FilledRectangle(candle.Body, outline, colorizer.BarColor(i));
        }
    }
}

// The last close in the right margin, on a tag of the last bar's colour.
void DrawLastCloseTag(const TChartPainter& AP) {
    const int last = AP.Last();
    const double close = AP.Bar(last).Close;
    DrawMarginTag(AP, AP.Panel(TPanelKind::pkPrice).ValueToY(close),
                  AP.Scene.Colorizer->OutlineColor(last), FormatChartValue(close, "0.00", AP.FS));
}

}  // namespace

TPixelRect TCandle::Bounds() const {
    if (!HasBody) {
        return {X, WickTop, X + 1, WickBottom};
    }
    return {Body.Left, std::min(WickTop, Body.Top), Body.Right, std::max(WickBottom, Body.Bottom)};
}

TCandle CandleOf(const TChartPainter& AP, int AIndex) {
    const TChartPanel& panel = AP.Panel(TPanelKind::pkPrice);
    const TPriceBar& bar = AP.Bar(AIndex);
    TCandle candle;
    candle.X = AP.Axis.IndexToX(AIndex);
    candle.WickTop = panel.ValueToY(bar.High);
    candle.WickBottom = panel.ValueToY(bar.Low) + 1;
    const int barWidth = AP.Axis.BarWidth();
    candle.HasBody = barWidth > 2;
    if (candle.HasBody) {
        const int yOpen = panel.ValueToY(bar.Open);
        const int yClose = panel.ValueToY(bar.Close);
        const int left = candle.X - AP.HalfBar();
        candle.Body = {left, std::min(yOpen, yClose), left + barWidth, std::max(yOpen, yClose) + 2};
    }
    return candle;
}

TPixelRect MarginTagBox(const TChartPainter& AP, int AY) {
    const int right = AP.Layout.Plot.Right;
    return {right + 1, AY - 8, right + 68, AY + 8};
}

void DrawMarginTag(const TChartPainter& AP, int AY, TColor AColor, const std::string& AText) {
    AP.Canvas.SetFontSize(8);
    AP.Canvas.FillRect(MarginTagBox(AP, AY), AColor);
    AP.Canvas.TextOut(AP.Layout.Plot.Right + 4, AY - AP.Canvas.TextHeight() / 2, AText,
                      chart_palette::White);
}

TPixelRect LastCloseTagBox(const TChartPainter& AP) {
    return MarginTagBox(AP, AP.Panel(TPanelKind::pkPrice).ValueToY(AP.Bar(AP.Last()).Close));
}

void DrawPricePanel(const TChartPainter& AP) {
    DrawPanelFrame(AP, TPanelKind::pkPrice);
    DrawZoneBands(AP);
    DrawCandles(AP);
    DrawSignals(AP);
    DrawLastCloseTag(AP);
}

}  // namespace cotalys
