#include "chart/ChartGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/Core.h"

namespace cotalys {

namespace {

// Shares of the available height; the RSI panel takes what remains.
constexpr std::array<double, PanelCount - 1> PanelShares = {0.50, 0.14, 0.18};
constexpr double BarFill = 0.7;

// Floor division, also for a negative numerator (pixels left of the plot).
std::int64_t FloorDiv(std::int64_t ANumerator, std::int64_t ADenominator) {
    std::int64_t quotient = ANumerator / ADenominator;
    if ((ANumerator % ADenominator != 0) && ((ANumerator < 0) != (ADenominator < 0))) {
        --quotient;
    }
    return quotient;
}

}  // namespace

int RoundPixel(double AValue) {
    if (std::isnan(AValue)) {
        return 0;
    }
    // Clamped before the conversion, which is undefined for values beyond the int range.
    const double limit = static_cast<double>(std::numeric_limits<int>::max());
    // nearbyint follows the default rounding mode, round half to even.
    return static_cast<int>(std::nearbyint(std::clamp(AValue, -limit, limit)));
}

int TChartPanel::ValueToY(double AValue) const {
    const double range = MaxValue - MinValue;
    if (IsNearZero(range) || std::isnan(AValue)) {
        return (Rect.Top + Rect.Bottom) / 2;
    }
    const double scaled = (AValue - MinValue) / range * (Rect.Height() - 1);
    // Infinity over an infinite range gives NaN: keep it in the middle rather than at an edge.
    if (std::isnan(scaled)) {
        return (Rect.Top + Rect.Bottom) / 2;
    }
    const double y = static_cast<double>(Rect.Bottom) - std::nearbyint(scaled);
    return RoundPixel(
        std::clamp(y, static_cast<double>(Rect.Top - 1), static_cast<double>(Rect.Bottom + 1)));
}

double TChartPanel::YToValue(int AY) const {
    const int steps = Rect.Height() - 1;
    if (steps <= 0) {
        return MinValue;
    }
    return MinValue + static_cast<double>(Rect.Bottom - AY) / steps * (MaxValue - MinValue);
}

int TTimeAxis::IndexToX(int AIndex) const {
    // Multiplied before dividing: a centre that lies exactly on a half pixel stays exact and
    // rounds to even, where the slot width first would carry its rounding error into it.
    return PlotLeft + RoundPixel((AIndex - First + 0.5) * PlotWidth / std::max(Count, 1));
}

int TTimeAxis::XToIndex(int AX) const {
    if (Count == 0 || PlotWidth <= 0) {
        return -1;
    }
    const std::int64_t offset =
        FloorDiv(static_cast<std::int64_t>(AX - PlotLeft) * Count, PlotWidth);
    if (offset < 0 || offset >= Count) {
        return -1;
    }
    return First + static_cast<int>(offset);
}

int TTimeAxis::BarWidth() const {
    const double width = static_cast<double>(PlotWidth) / std::max(Count, 1) * BarFill;
    return std::max(static_cast<int>(std::trunc(width)), 1);
}

TChartLayout LayoutPanels(int AWidth, int AHeight) {
    TChartLayout layout;
    layout.Plot = {PlotLeftMargin, HoverBandHeight, std::max(AWidth - ValueLabelMargin, 18),
                   std::max(AHeight - DateLabelMargin, 66)};
    const int available = layout.Plot.Height() - (PanelCount - 1) * PanelGap;
    int y = layout.Plot.Top;
    for (int k = 0; k < PanelCount; ++k) {
        const int height =
            k < PanelCount - 1 ? RoundPixel(available * PanelShares[k]) : layout.Plot.Bottom - y;
        layout.Panels[k].Rect = {layout.Plot.Left, y, layout.Plot.Right, y + height};
        y += height + PanelGap;
    }
    return layout;
}

}  // namespace cotalys
