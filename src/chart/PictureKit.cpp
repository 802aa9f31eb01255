#include "chart/PictureKit.h"

#include <algorithm>
#include <cmath>

#include "core/Core.h"

namespace cotalys::picture {

namespace palette = chart_palette;

double RoundStep(double ARange, int ASteps) {
    const double raw = ARange / ASteps;
    if (!(raw > 0) || !std::isfinite(raw)) {
        return 1;
    }
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (raw <= factor * power) {
            return factor * power;
        }
    }
    return 10 * power;
}

int TValueScale::Count() const {
    return static_cast<int>(std::lround((High - Low) / Step));
}

TValueScale RoundScale(double ALow, double AHigh, int ASteps, bool AWithZero) {
    if (AWithZero) {
        ALow = std::min(ALow, 0.0);
        AHigh = std::max(AHigh, 0.0);
    }
    const double room = (AHigh - ALow) / 20;
    ALow = ALow < 0 || !AWithZero ? ALow - room : 0;
    AHigh = AHigh > 0 || !AWithZero ? AHigh + room : 0;
    if (!(AHigh > ALow)) {
        AHigh = ALow + 1;
    }
    const double step = RoundStep(AHigh - ALow, ASteps);
    return {std::floor(ALow / step) * step, std::ceil(AHigh / step) * step, step};
}

std::string Percent(double AValue, double AStep) {
    const std::string_view pattern = AStep >= 1 ? "+0;-0;0" : "+0.0;-0.0;0.0";
    return FormatFloat(pattern, AValue, FrenchFormatSettings()) + " %";
}

TPixelRect PlotOf(const TPixelRect& APanel, int ABottomAxis) {
    return {APanel.Left + ValueAxisWidth, APanel.Top + HeaderHeight, APanel.Right - RightPad,
            APanel.Bottom - ABottomAxis};
}

int DrawLegend(TChartCanvas& ACanvas, int ARight, int ATop, const TLegend& ALegend) {
    ACanvas.SetFontSize(9);
    int right = ARight;
    for (auto it = ALegend.rbegin(); it != ALegend.rend(); ++it) {
        right -= ACanvas.TextWidth(it->second);
        ACanvas.TextOut(right, ATop, it->second, palette::Label);
        right -= 18;
        ACanvas.FillRect({right, ATop + 2, right + 12, ATop + 14}, it->first);
        right -= 16;
    }
    return right;
}

void DrawPanelHeader(TChartCanvas& ACanvas, const TPixelRect& APanel, const std::string& ATitle,
                     const TLegend& ALegend) {
    ACanvas.FilledRectangle(APanel, palette::PanelBorder, palette::Background);
    const int right = DrawLegend(ACanvas, APanel.Right - RightPad, APanel.Top + 7, ALegend);
    ACanvas.SetFontSize(10);
    ACanvas.TextInRect({APanel.Left + 10, APanel.Top + 4, right, APanel.Top + HeaderHeight}, ATitle,
                       palette::HoverText, TTextPlacement::tpTopLeft);
}

void DrawHorizontalGrid(TChartCanvas& ACanvas, const TChartPanel& APanel, const TValueScale& AScale,
                        const std::function<std::string(double AValue)>& ALabel) {
    ACanvas.SetFontSize(8);
    const TPixelRect& plot = APanel.Rect;
    for (int i = 0; i <= AScale.Count(); ++i) {
        const double value = AScale.Tick(i);
        const int y = APanel.ValueToY(value);
        ACanvas.Line(plot.Left, y, plot.Right, y, palette::Grid, TLineStyle::lsSolid);
        const std::string text = ALabel(value);
        ACanvas.TextOut(plot.Left - 8 - ACanvas.TextWidth(text), y - ACanvas.TextHeight() / 2, text,
                        palette::Label);
    }
}

bool DrawPictureFrame(TChartCanvas& ACanvas, int AWidth, int AHeight, const std::string& ATitle,
                      const std::string& AEmptyMessage) {
    ACanvas.FillRect({0, 0, AWidth, AHeight}, palette::Background);
    const std::string message = AWidth < MinimumSide || AHeight < MinimumSide
                                    ? "Fenetre trop petite pour le graphique"
                                    : AEmptyMessage;
    if (!message.empty()) {
        ACanvas.SetFontSize(10);
        ACanvas.TextInRect({0, 0, AWidth, AHeight}, message, palette::Label,
                           TTextPlacement::tpCentred);
        return false;
    }
    ACanvas.SetFontSize(12);
    ACanvas.TextInRect({Margin, Margin, AWidth - Margin, Margin + TitleHeight}, ATitle,
                       palette::HoverText, TTextPlacement::tpTopLeft);
    return true;
}

}  // namespace cotalys::picture
