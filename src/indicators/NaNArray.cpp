#include <limits>

#include "indicators/MovingAverages.h"

namespace cotalys {

std::vector<double> NaNArray(int ACount) {
    return std::vector<double>(ACount > 0 ? static_cast<std::size_t>(ACount) : 0,
                               std::numeric_limits<double>::quiet_NaN());
}

}  // namespace cotalys
