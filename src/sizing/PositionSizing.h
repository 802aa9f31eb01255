#pragma once

// Position sizing: capital, risk and fee settings with their settings file, and the size of one
// position under them.
#include "sizing/PositionSize.h"
#include "sizing/SizingParams.h"
