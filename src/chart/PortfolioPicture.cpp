#include "chart/PortfolioPicture.h"

#include <QPoint>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "chart/ChartCanvas.h"
#include "chart/PictureKit.h"
#include "core/Core.h"

namespace cotalys {

namespace {

namespace palette = chart_palette;
using picture::BottomAxisHeight;
using picture::Margin;
using picture::TValueScale;

// Share of a year's slot the three bars fill.
constexpr double GroupShare = 0.7;

TColor CurveColor(std::size_t ACurve) {
    static constexpr TColor colors[] = {PortfolioStrategyColor, PortfolioEqualWeightColor,
                                        PortfolioIndexColor};
    return colors[std::min<std::size_t>(ACurve, 2)];
}

picture::TLegend LegendOf(const TPortfolioFigures& AFigures) {
    picture::TLegend legend;
    for (std::size_t c = 0; c < AFigures.Curves.size(); ++c) {
        legend.emplace_back(CurveColor(c), AFigures.Curves[c].Name);
    }
    return legend;
}

// The lowest and highest finite value of AMember over every curve, AStart included.
template <class TMember>
std::pair<double, double> RangeOf(const TPortfolioFigures& AFigures, TMember AMember,
                                  double AStart) {
    double low = AStart;
    double high = AStart;
    for (const TPortfolioCurve& curve : AFigures.Curves) {
        for (const double value : curve.*AMember) {
            if (std::isfinite(value)) {
                low = std::min(low, value);
                high = std::max(high, value);
            }
        }
    }
    return {low, high};
}

std::string Euros(double AValue) {
    return FormatFloat("#,##0", AValue, FrenchFormatSettings());
}

// The pixel column of session ASession of ACount across APlot.
int SessionX(const TPixelRect& APlot, std::size_t ASession, std::size_t ACount) {
    return APlot.Left + (ACount < 2
                             ? 0
                             : RoundPixel(static_cast<double>(ASession) /
                                          static_cast<double>(ACount - 1) * (APlot.Width() - 1)));
}

// The year's first session under the plot, as a date axis.
void DrawYearTicks(TChartCanvas& ACanvas, const TPixelRect& APlot,
                   const TPortfolioFigures& AFigures) {
    ACanvas.SetFontSize(8);
    const std::size_t count = AFigures.Dates.size();
    int lastRight = APlot.Left - 1000;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && YearOf(AFigures.Dates[i]) == YearOf(AFigures.Dates[i - 1])) {
            continue;
        }
        const int x = SessionX(APlot, i, count);
        ACanvas.Line(x, APlot.Top, x, APlot.Bottom, palette::Grid, TLineStyle::lsSolid);
        const std::string text = std::to_string(YearOf(AFigures.Dates[i]));
        if (x > lastRight + 8 && x + ACanvas.TextWidth(text) <= APlot.Right) {
            ACanvas.TextOut(x + 2, APlot.Bottom + 4, text, palette::Label);
            lastRight = x + 2 + ACanvas.TextWidth(text);
        }
    }
}

// Each curve's AMember as a line across APanel.
template <class TMember>
void DrawCurves(TChartCanvas& ACanvas, const TChartPanel& APanel, const TPortfolioFigures& AFigures,
                TMember AMember) {
    ACanvas.SetClip(APanel.Rect);
    // The benchmarks first, the strategy over them.
    for (std::size_t c = AFigures.Curves.size(); c-- > 0;) {
        const std::vector<double>& values = AFigures.Curves[c].*AMember;
        std::vector<QPoint> points;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (std::isfinite(values[i])) {
                points.emplace_back(SessionX(APanel.Rect, i, values.size()),
                                    APanel.ValueToY(values[i]));
            }
        }
        ACanvas.Polyline(points, CurveColor(c), c == 0 ? 2 : 1);
    }
    ACanvas.RemoveClip();
}

void DrawValues(TChartCanvas& ACanvas, const TPortfolioFigures& AFigures,
                const TPixelRect& APanel) {
    picture::DrawPanelHeader(ACanvas, APanel, "Valeur du portefeuille (EUR)", LegendOf(AFigures));
    const auto [low, high] = RangeOf(AFigures, &TPortfolioCurve::Values, AFigures.Capital);
    const TValueScale scale = picture::RoundScale(low, high, picture::AxisSteps, false);
    const TChartPanel panel{picture::PlotOf(APanel, BottomAxisHeight), scale.Low, scale.High, ""};
    picture::DrawHorizontalGrid(ACanvas, panel, scale, Euros);
    DrawYearTicks(ACanvas, panel.Rect, AFigures);
    const int capital = panel.ValueToY(AFigures.Capital);
    ACanvas.Line(panel.Rect.Left, capital, panel.Rect.Right, capital, palette::Label,
                 TLineStyle::lsDashed);
    DrawCurves(ACanvas, panel, AFigures, &TPortfolioCurve::Values);
}

void DrawFalls(TChartCanvas& ACanvas, const TPortfolioFigures& AFigures, const TPixelRect& APanel) {
    picture::DrawPanelHeader(ACanvas, APanel, "Baisse depuis le plus haut", {});
    const auto [low, high] = RangeOf(AFigures, &TPortfolioCurve::DrawdownPct, 0);
    const TValueScale scale = picture::RoundScale(low, high, 3);
    const TChartPanel panel{picture::PlotOf(APanel, BottomAxisHeight), scale.Low, scale.High, ""};
    picture::DrawHorizontalGrid(
        ACanvas, panel, scale, [&](double AValue) { return picture::Percent(AValue, scale.Step); });
    DrawYearTicks(ACanvas, panel.Rect, AFigures);
    DrawCurves(ACanvas, panel, AFigures, &TPortfolioCurve::DrawdownPct);
}

void DrawYears(TChartCanvas& ACanvas, const TPortfolioFigures& AFigures, const TPixelRect& APanel) {
    picture::DrawPanelHeader(ACanvas, APanel, "Rendement par annee", LegendOf(AFigures));
    const auto [low, high] = RangeOf(AFigures, &TPortfolioCurve::YearReturnPct, 0);
    const TValueScale scale = picture::RoundScale(low, high, picture::AxisSteps);
    const TChartPanel panel{picture::PlotOf(APanel, BottomAxisHeight), scale.Low, scale.High, ""};
    picture::DrawHorizontalGrid(
        ACanvas, panel, scale, [&](double AValue) { return picture::Percent(AValue, scale.Step); });
    const int years = std::max<int>(1, static_cast<int>(AFigures.Years.size()));
    const int slot = panel.Rect.Width() / years;
    const int curves = std::max<int>(1, static_cast<int>(AFigures.Curves.size()));
    const int barWidth = std::max(1, static_cast<int>(slot * GroupShare) / curves);
    const int zero = panel.ValueToY(0);
    for (int y = 0; y < static_cast<int>(AFigures.Years.size()); ++y) {
        const int left = panel.Rect.Left + y * slot + (slot - barWidth * curves) / 2;
        for (int c = 0; c < static_cast<int>(AFigures.Curves.size()); ++c) {
            const std::vector<double>& returns = AFigures.Curves[c].YearReturnPct;
            if (y >= static_cast<int>(returns.size()) || !std::isfinite(returns[y])) {
                continue;
            }
            const int top = panel.ValueToY(returns[y]);
            const int x = left + c * barWidth;
            ACanvas.FillRect({x, std::min(zero, top), x + barWidth, std::max(zero, top) + 1},
                             CurveColor(c));
        }
        ACanvas.SetFontSize(9);
        ACanvas.TextInRect({panel.Rect.Left + y * slot, panel.Rect.Bottom + 4,
                            panel.Rect.Left + (y + 1) * slot, panel.Rect.Bottom + 20},
                           std::to_string(AFigures.Years[y]), palette::HoverText,
                           TTextPlacement::tpCentred);
    }
    ACanvas.Line(panel.Rect.Left, zero, panel.Rect.Right, zero, palette::Label,
                 TLineStyle::lsSolid);
}

}  // namespace

TPortfolioPanels PortfolioPanelsOf(int AWidth, int AHeight) {
    const int top = Margin + picture::TitleHeight;
    const int usable = AHeight - top - Margin - 2 * picture::BetweenPanels;
    TPortfolioPanels panels;
    panels.Values = {Margin, top, AWidth - Margin, top + usable * 48 / 100};
    panels.Falls = {Margin, panels.Values.Bottom + picture::BetweenPanels, AWidth - Margin,
                    panels.Values.Bottom + picture::BetweenPanels + usable * 22 / 100};
    panels.Years = {Margin, panels.Falls.Bottom + picture::BetweenPanels, AWidth - Margin,
                    AHeight - Margin};
    return panels;
}

void DrawPortfolioPicture(QPainter& APainter, const TPortfolioFigures& AFigures, int AWidth,
                          int AHeight, const QFont& AFont) {
    APainter.save();
    TChartCanvas canvas(APainter, AFont);
    if (picture::DrawPictureFrame(
            canvas, AWidth, AHeight, AFigures.Title,
            AFigures.Empty() ? "Aucune simulation de portefeuille a montrer" : "")) {
        const TPortfolioPanels panels = PortfolioPanelsOf(AWidth, AHeight);
        DrawValues(canvas, AFigures, panels.Values);
        DrawFalls(canvas, AFigures, panels.Falls);
        DrawYears(canvas, AFigures, panels.Years);
    }
    APainter.restore();
}

QImage RenderPortfolioImage(const TPortfolioFigures& AFigures, int AWidth, int AHeight,
                            const QFont& AFont) {
    QImage image = BlankPngImage(AWidth, AHeight);
    QPainter painter(&image);
    DrawPortfolioPicture(painter, AFigures, AWidth, AHeight, AFont);
    return image;
}

void SavePortfolioToPng(const TPortfolioFigures& AFigures, const std::string& AFileName, int AWidth,
                        int AHeight, const QFont& AFont) {
    const std::string png = EncodePng(RenderPortfolioImage(AFigures, AWidth, AHeight, AFont));
    WriteFileAtomically(std::filesystem::path(AFileName), png);
}

}  // namespace cotalys
