#include "chart/BacktestPicture.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <utility>

#include "chart/ChartCanvas.h"
#include "chart/PictureKit.h"
#include "core/Core.h"

namespace cotalys {

namespace {

namespace palette = chart_palette;
using picture::AxisSteps;
using picture::BetweenPanels;
using picture::BottomAxisHeight;
using picture::DrawLegend;
using picture::DrawPanelHeader;
using picture::HeaderHeight;
using picture::Margin;
using picture::Percent;
using picture::PlotOf;
using picture::RoundScale;
using picture::RoundStep;
using picture::TitleHeight;
using picture::TValueScale;

// Room under the yearly bars for the year and the signal count, under the other plots for their
// value labels.
constexpr int YearAxisHeight = 42;
// Share of a year's slot the two bars fill.
constexpr double PairShare = 0.6;
// Bins the histograms aim at, and the share of the results left out at each end of their range
// (they fall into the end bins).
constexpr int HistogramBins = 24;
constexpr double HistogramTail = 0.01;

const TColor Better = palette::CompleteSignal;
const TColor Worse = palette::HistogramDownStrong;
const TColor Undecided = palette::Label;
const TColor TooFew = palette::Crosshair;

std::string Percent1(double AValue) {
    return Percent(AValue, 0.1);
}

// The pixel column of AValue across APlot for the scale ALow .. AHigh.
int ValueToX(const TPixelRect& APlot, double ALow, double AHigh, double AValue) {
    return APlot.Left + RoundPixel((AValue - ALow) / (AHigh - ALow) * (APlot.Width() - 1));
}

double MeanOf(const std::vector<double>& AValues) {
    if (AValues.empty()) {
        return NaN;
    }
    double sum = 0;
    for (const double value : AValues) {
        sum += value;
    }
    return sum / static_cast<double>(AValues.size());
}

TValueScale YearScale(const TBacktestFigures& AFigures) {
    double low = 0;
    double high = 0;
    for (const TYearFigures& year : AFigures.Years) {
        for (const double mean : {year.SettingMean20, year.ReferenceMean20}) {
            if (std::isfinite(mean)) {
                low = std::min(low, mean);
                high = std::max(high, mean);
            }
        }
    }
    return RoundScale(low, high, AxisSteps);
}

TChartPanel YearPanel(const TBacktestFigures& AFigures, int AWidth, int AHeight) {
    const TValueScale scale = YearScale(AFigures);
    return {PlotOf(BacktestPanelsOf(AWidth, AHeight).Years, YearAxisHeight), scale.Low, scale.High,
            ""};
}

// The bar from the zero line to AValue, AWidth pixels wide from ALeft.
TPixelRect BarOf(const TChartPanel& APanel, int ALeft, int AWidth, double AValue) {
    if (!std::isfinite(AValue)) {
        return {};
    }
    const int zero = APanel.ValueToY(0);
    const int top = APanel.ValueToY(AValue);
    return {ALeft, std::min(zero, top), ALeft + AWidth, std::max(zero, top) + 1};
}

// Grid lines and percent labels of AScale over APanel's plot, and the zero line.
void DrawHorizontalGrid(TChartCanvas& ACanvas, const TChartPanel& APanel,
                        const TValueScale& AScale) {
    picture::DrawHorizontalGrid(ACanvas, APanel, AScale,
                                [&](double AValue) { return Percent(AValue, AScale.Step); });
    const int zero = APanel.ValueToY(0);
    ACanvas.Line(APanel.Rect.Left, zero, APanel.Rect.Right, zero, palette::Label,
                 TLineStyle::lsSolid);
}

// Grid lines and value labels of AScale across APlot (values along the bottom).
void DrawVerticalGrid(TChartCanvas& ACanvas, const TPixelRect& APlot, const TValueScale& AScale,
                      int AEvery) {
    ACanvas.SetFontSize(8);
    for (int i = 0; i <= AScale.Count(); i += AEvery) {
        const double value = AScale.Tick(i);
        const int x = ValueToX(APlot, AScale.Low, AScale.High, value);
        ACanvas.Line(x, APlot.Top, x, APlot.Bottom, palette::Grid, TLineStyle::lsSolid);
        const std::string text = Percent(value, AScale.Step);
        ACanvas.TextOut(x - ACanvas.TextWidth(text) / 2, APlot.Bottom + 4, text, palette::Label);
    }
}

void DrawYears(TChartCanvas& ACanvas, const TBacktestFigures& AFigures, int AWidth, int AHeight) {
    const TPixelRect panelRect = BacktestPanelsOf(AWidth, AHeight).Years;
    DrawPanelHeader(ACanvas, panelRect, "Resultat moyen a +20 seances par annee (sans stop)",
                    {{BacktestSettingColor, "Reglage " + AFigures.SettingName},
                     {BacktestReferenceColor, "Reference"}});
    const TChartPanel panel = YearPanel(AFigures, AWidth, AHeight);
    DrawHorizontalGrid(ACanvas, panel, YearScale(AFigures));
    const std::vector<TYearBars> bars = YearBarPlaces(AFigures, AWidth, AHeight);
    const int slot = panel.Rect.Width() / std::max<int>(1, static_cast<int>(bars.size()));
    for (std::size_t i = 0; i < bars.size(); ++i) {
        ACanvas.FillRect(bars[i].Setting, BacktestSettingColor);
        ACanvas.FillRect(bars[i].Reference, BacktestReferenceColor);
        const TYearFigures& year = AFigures.Years[i];
        const int left = panel.Rect.Left + static_cast<int>(i) * slot;
        const int top = panel.Rect.Bottom + 4;
        ACanvas.SetFontSize(9);
        ACanvas.TextInRect({left, top, left + slot, top + 18}, std::to_string(year.Year),
                           palette::HoverText, TTextPlacement::tpCentred);
        ACanvas.SetFontSize(8);
        ACanvas.TextInRect({left, top + 18, left + slot, top + 34},
                           Format("%d signal(aux)", year.SettingSignals), palette::Label,
                           TTextPlacement::tpCentred);
    }
    // The zero line over the bars' ends.
    const int zero = panel.ValueToY(0);
    ACanvas.Line(panel.Rect.Left, zero, panel.Rect.Right, zero, palette::Label,
                 TLineStyle::lsSolid);
}

TColor VerdictColor(TConfidenceVerdict AVerdict) {
    switch (AVerdict) {
        case TConfidenceVerdict::cvBetter:
            return Better;
        case TConfidenceVerdict::cvWorse:
            return Worse;
        case TConfidenceVerdict::cvTooFew:
            return TooFew;
        case TConfidenceVerdict::cvUndecided:
            break;
    }
    return Undecided;
}

void DrawSettings(TChartCanvas& ACanvas, const TBacktestFigures& AFigures, int AWidth,
                  int AHeight) {
    const TPixelRect panel = BacktestPanelsOf(AWidth, AHeight).Settings;
    DrawPanelHeader(ACanvas, panel,
                    "Ecart a la reference a +20 seances, IC 95 % (reechantillonnage par mois)", {});
    const std::vector<TConfidenceRow>& rows = AFigures.Confidence;
    if (rows.empty()) {
        ACanvas.SetFontSize(9);
        ACanvas.TextInRect(PlotOf(panel, BottomAxisHeight), "Aucun reglage compare", palette::Label,
                           TTextPlacement::tpCentred);
        return;
    }
    ACanvas.SetFontSize(9);
    int nameWidth = 0;
    int verdictWidth = 0;
    for (const TConfidenceVerdict verdict : ConfidenceVerdicts) {
        verdictWidth = std::max(verdictWidth, ACanvas.TextWidth(VerdictText(verdict)));
    }
    for (const TConfidenceRow& row : rows) {
        nameWidth =
            std::max(nameWidth, ACanvas.TextWidth(Format("%s (%d)", row.Name, row.Signals)));
    }
    nameWidth = std::min(nameWidth + 24, panel.Width() * 2 / 5);
    verdictWidth += 16;
    const TPixelRect plot = {panel.Left + nameWidth, panel.Top + HeaderHeight,
                             panel.Right - verdictWidth, panel.Bottom - BottomAxisHeight};
    double low = 0;
    double high = 0;
    for (const TConfidenceRow& row : rows) {
        for (const double value : {row.Low20, row.High20, row.Diff20}) {
            if (std::isfinite(value)) {
                low = std::min(low, value);
                high = std::max(high, value);
            }
        }
    }
    const TValueScale scale = RoundScale(low, high, AxisSteps);
    DrawVerticalGrid(ACanvas, plot, scale, 1);
    const int zero = ValueToX(plot, scale.Low, scale.High, 0);
    ACanvas.Line(zero, plot.Top, zero, plot.Bottom, palette::Label, TLineStyle::lsSolid);
    const int rowHeight = plot.Height() / static_cast<int>(rows.size());
    const auto x = [&](double AValue) { return ValueToX(plot, scale.Low, scale.High, AValue); };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TConfidenceRow& row = rows[i];
        const int top = plot.Top + static_cast<int>(i) * rowHeight;
        const int y = top + rowHeight / 2;
        const TColor color = VerdictColor(row.Verdict);
        ACanvas.SetFontSize(9);
        ACanvas.TextInRect({panel.Left + 8, top, plot.Left - 4, top + rowHeight},
                           Format("%s (%d)", row.Name, row.Signals), palette::HoverText,
                           TTextPlacement::tpMiddleLeft);
        ACanvas.TextInRect({plot.Right + 10, top, panel.Right - 4, top + rowHeight},
                           VerdictText(row.Verdict), color, TTextPlacement::tpMiddleLeft);
        if (std::isfinite(row.Low20) && std::isfinite(row.High20)) {
            const int left = x(row.Low20);
            const int right = x(row.High20);
            ACanvas.FillRect({left, y - 1, right + 1, y + 1}, color);
            ACanvas.FillRect({left, y - 6, left + 2, y + 7}, color);
            ACanvas.FillRect({right - 1, y - 6, right + 1, y + 7}, color);
        }
        if (std::isfinite(row.Diff20)) {
            const int centre = x(row.Diff20);
            ACanvas.FillRect({centre - 4, y - 4, centre + 5, y + 5}, color);
        }
    }
}

// Bin of AValue among ACount bins of AWidth from ALow; values beyond go to the end bins.
int BinOf(double AValue, double ALow, double AWidth, int ACount) {
    const auto bin = static_cast<int>(std::floor((AValue - ALow) / AWidth));
    return std::clamp(bin, 0, ACount - 1);
}

// The share of AValues in each of ACount bins, in percent.
std::vector<double> BinShares(const std::vector<double>& AValues, double ALow, double AWidth,
                              int ACount) {
    std::vector<double> shares(static_cast<std::size_t>(ACount), 0.0);
    for (const double value : AValues) {
        shares[static_cast<std::size_t>(BinOf(value, ALow, AWidth, ACount))] += 1;
    }
    for (double& share : shares) {
        share = AValues.empty() ? 0 : share * 100 / static_cast<double>(AValues.size());
    }
    return shares;
}

// The value of AValues sorted with a share AShare below it.
double QuantileOf(std::vector<double> AValues, double AShare) {
    const auto at = static_cast<std::size_t>(AShare * static_cast<double>(AValues.size() - 1));
    std::nth_element(AValues.begin(), AValues.begin() + static_cast<std::ptrdiff_t>(at),
                     AValues.end());
    return AValues[at];
}

void DrawResults(TChartCanvas& ACanvas, const TBacktestFigures& AFigures, int AWidth, int AHeight) {
    const TPixelRect panel = BacktestPanelsOf(AWidth, AHeight).Results;
    const std::vector<double>& setting = AFigures.SettingResults20;
    const std::vector<double>& reference = AFigures.ReferenceResults20;
    DrawPanelHeader(ACanvas, panel,
                    "Repartition des resultats a +20 seances (en % de chaque ensemble)", {});
    const TPixelRect plot = PlotOf(panel, BottomAxisHeight);
    std::vector<double> all = setting;
    all.insert(all.end(), reference.begin(), reference.end());
    if (all.empty()) {
        ACanvas.SetFontSize(9);
        ACanvas.TextInRect(plot, "Aucun resultat mesure", palette::Label,
                           TTextPlacement::tpCentred);
        return;
    }
    // Round bins over the bulk of the results, the extremes in the end bins.
    const double low = QuantileOf(all, HistogramTail);
    const double high = QuantileOf(all, 1 - HistogramTail);
    const double width = RoundStep(std::max(high - low, 1.0), HistogramBins);
    const double first = std::floor(low / width) * width;
    const int count = std::max(1, static_cast<int>(std::ceil((high - first) / width)));
    const std::vector<double> settingShares = BinShares(setting, first, width, count);
    const std::vector<double> referenceShares = BinShares(reference, first, width, count);
    const double top = std::max(*std::max_element(settingShares.begin(), settingShares.end()),
                                *std::max_element(referenceShares.begin(), referenceShares.end()));
    const TValueScale shareScale = RoundScale(0, top, AxisSteps);
    const TChartPanel shares = {plot, shareScale.Low, shareScale.High, ""};
    DrawHorizontalGrid(ACanvas, shares, shareScale);
    // Bin edges along the bottom, one label every few bins so they never touch.
    const TValueScale binScale = {first, first + count * width, width};
    ACanvas.SetFontSize(8);
    const int labelWidth = ACanvas.TextWidth(Percent(-88, width)) + 8;
    const int every = std::max(1, labelWidth * count / std::max(1, plot.Width()) + 1);
    DrawVerticalGrid(ACanvas, plot, binScale, every);
    for (int bin = 0; bin < count; ++bin) {
        const int left = ValueToX(plot, binScale.Low, binScale.High, first + bin * width);
        const int right = ValueToX(plot, binScale.Low, binScale.High, first + (bin + 1) * width);
        const int middle = (left + right) / 2;
        const auto i = static_cast<std::size_t>(bin);
        // An empty bin shows no bar rather than a line along the base.
        if (settingShares[i] > 0) {
            ACanvas.FillRect(BarOf(shares, left + 1, middle - left - 1, settingShares[i]),
                             BacktestSettingColor);
        }
        if (referenceShares[i] > 0) {
            ACanvas.FillRect(BarOf(shares, middle, right - middle - 1, referenceShares[i]),
                             BacktestReferenceColor);
        }
    }
    // The legend on a white box in the plot's top right corner, where the tails leave room.
    const std::string settingText =
        Format("Reglage : %d signaux, moyenne %s", static_cast<int>(setting.size()),
               Percent1(MeanOf(setting)));
    const std::string referenceText =
        Format("Reference : %d seances, moyenne %s", static_cast<int>(reference.size()),
               Percent1(MeanOf(reference)));
    ACanvas.SetFontSize(9);
    const int boxWidth =
        std::max(ACanvas.TextWidth(settingText), ACanvas.TextWidth(referenceText)) + 40;
    ACanvas.FillRect({plot.Right - boxWidth, plot.Top + 2, plot.Right - 2, plot.Top + 46},
                     palette::Background);
    DrawLegend(ACanvas, plot.Right - 8, plot.Top + 6, {{BacktestSettingColor, settingText}});
    DrawLegend(ACanvas, plot.Right - 8, plot.Top + 26, {{BacktestReferenceColor, referenceText}});
    if (first < 0 && binScale.High > 0) {
        const int zero = ValueToX(plot, binScale.Low, binScale.High, 0);
        ACanvas.Line(zero, plot.Top, zero, plot.Bottom, palette::Label, TLineStyle::lsDashed);
    }
}

}  // namespace

TBacktestPanels BacktestPanelsOf(int AWidth, int AHeight) {
    const int top = Margin + TitleHeight;
    const int usable = AHeight - top - Margin - BetweenPanels;
    TBacktestPanels panels;
    panels.Years = {Margin, top, AWidth - Margin, top + usable * 45 / 100};
    const int bottomTop = panels.Years.Bottom + BetweenPanels;
    const int split = Margin + (AWidth - 2 * Margin - BetweenPanels) * 55 / 100;
    panels.Settings = {Margin, bottomTop, split, AHeight - Margin};
    panels.Results = {split + BetweenPanels, bottomTop, AWidth - Margin, AHeight - Margin};
    return panels;
}

std::vector<TYearBars> YearBarPlaces(const TBacktestFigures& AFigures, int AWidth, int AHeight) {
    const TChartPanel panel = YearPanel(AFigures, AWidth, AHeight);
    const int count = static_cast<int>(AFigures.Years.size());
    std::vector<TYearBars> places;
    if (count == 0) {
        return places;
    }
    const int slot = panel.Rect.Width() / count;
    const int barWidth = std::max(1, static_cast<int>(slot * PairShare) / 2);
    for (int i = 0; i < count; ++i) {
        const TYearFigures& year = AFigures.Years[static_cast<std::size_t>(i)];
        const int centre = panel.Rect.Left + i * slot + slot / 2;
        places.push_back({BarOf(panel, centre - barWidth, barWidth, year.SettingMean20),
                          BarOf(panel, centre, barWidth, year.ReferenceMean20)});
    }
    return places;
}

void DrawBacktestPicture(QPainter& APainter, const TBacktestFigures& AFigures, int AWidth,
                         int AHeight, const QFont& AFont) {
    APainter.save();
    TChartCanvas canvas(APainter, AFont);
    if (picture::DrawPictureFrame(canvas, AWidth, AHeight, AFigures.Title,
                                  AFigures.Empty() ? "Aucun resultat de backtest a montrer" : "")) {
        DrawYears(canvas, AFigures, AWidth, AHeight);
        DrawSettings(canvas, AFigures, AWidth, AHeight);
        DrawResults(canvas, AFigures, AWidth, AHeight);
    }
    APainter.restore();
}

QImage RenderBacktestImage(const TBacktestFigures& AFigures, int AWidth, int AHeight,
                           const QFont& AFont) {
    QImage image = BlankPngImage(AWidth, AHeight);
    QPainter painter(&image);
    DrawBacktestPicture(painter, AFigures, AWidth, AHeight, AFont);
    return image;
}

void SaveBacktestToPng(const TBacktestFigures& AFigures, const std::string& AFileName, int AWidth,
                       int AHeight, const QFont& AFont) {
    const std::string png = EncodePng(RenderBacktestImage(AFigures, AWidth, AHeight, AFont));
    WriteFileAtomically(std::filesystem::path(AFileName), png);
}

}  // namespace cotalys
