#pragma once

#include <string>
#include <string_view>

#include "core/Core.h"

namespace cotalys {

// "-" for NaN, else AValue with the number pattern APattern ("0.00", "0.0"...).
std::string FormatChartValue(double AValue, std::string_view APattern,
                             const TFormatSettings& ASettings);

// A volume shortened to one decimal with " Md", " M" or " k" (1 234 567 gives "1,2 M"),
// whole below a thousand; "-" for NaN.
std::string FormatChartVolume(double AValue, const TFormatSettings& ASettings);

}  // namespace cotalys
