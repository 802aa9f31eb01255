#pragma once

// Entry signals and the market regime they are judged against.
#include "signals/MarketRegime.h"
