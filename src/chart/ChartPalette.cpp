#include "chart/ChartPalette.h"

#include <cmath>

namespace cotalys::chart_palette {

TColor HistogramColor(double AValue, double APrevious) {
    if (AValue >= 0) {
        return std::isnan(APrevious) || AValue >= APrevious ? HistogramUpStrong : HistogramUpWeak;
    }
    return std::isnan(APrevious) || APrevious >= AValue ? HistogramDownStrong : HistogramDownWeak;
}

}  // namespace cotalys::chart_palette
