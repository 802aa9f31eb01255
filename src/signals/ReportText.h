#pragma once

#include <string>
#include <vector>

namespace cotalys {

// The lines of a text report joined by CR LF, with no break after the last one.
std::string JoinLines(const std::vector<std::string>& ALines);

}  // namespace cotalys
