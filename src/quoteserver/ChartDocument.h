#pragma once

#include <cstdint>
#include <string>

#include "core/Core.h"

namespace cotalys {

// The chart document of the quote service for the sessions of ASeries whose timestamp (09:00
// Paris time) lies in [APeriod1, APeriod2), with the dividends of that window. A window
// without sessions gives a result without timestamps, as the real service does.
std::string ChartDocument(const TPriceSeries& ASeries, std::int64_t APeriod1,
                          std::int64_t APeriod2);
// The service's error document: {"chart":{"result":null,"error":{"code":..,"description":..}}}.
std::string ChartErrorDocument(const std::string& ACode, const std::string& ADescription);

}  // namespace cotalys
