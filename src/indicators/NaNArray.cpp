#include "core/Core.h"

#include "indicators/MovingAverages.h"

namespace cotalys {

std::vector<double> NaNArray(int ACount) {
    return std::vector<double>(ACount > 0 ? static_cast<std::size_t>(ACount) : 0, NaN);
}

}  // namespace cotalys
