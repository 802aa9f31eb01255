#pragma once

// Indicators: moving averages and RSI.
#include "indicators/MovingAverages.h"
#include "indicators/RSI.h"
