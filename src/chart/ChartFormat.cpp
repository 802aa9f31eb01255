#include "chart/ChartFormat.h"

#include <array>
#include <cmath>

namespace cotalys {

std::string FormatChartValue(double AValue, std::string_view APattern,
                             const TFormatSettings& ASettings) {
    if (std::isnan(AValue)) {
        return "-";
    }
    return FormatFloat(APattern, AValue, ASettings);
}

std::string FormatChartVolume(double AValue, const TFormatSettings& ASettings) {
    struct TUnit {
        double Size;
        const char* Suffix;
    };
    static constexpr std::array<TUnit, 3> Units = {TUnit{1e9, " Md"}, TUnit{1e6, " M"},
                                                   TUnit{1000, " k"}};
    if (std::isnan(AValue)) {
        return "-";
    }
    for (const TUnit& unit : Units) {
        if (AValue >= unit.Size) {
            return FormatFloat("0.0", AValue / unit.Size, ASettings) + unit.Suffix;
        }
    }
    return FormatFloat("0", AValue, ASettings);
}

}  // namespace cotalys
