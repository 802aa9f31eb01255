#pragma once

#include <iosfwd>

#include "sizing/PositionSizing.h"

namespace cotalys {

// The user's sizing settings from their file, as every command reads them: a file that exists
// but cannot be read gives the defaults, and its line goes to AErr.
TSizingParams LoadUserSizing(std::ostream& AErr);

}  // namespace cotalys
