#pragma once

// Indicators: moving averages, RSI, MACD, the true range, and the per-series technical analysis.
#include "indicators/ATR.h"
#include "indicators/MACD.h"
#include "indicators/MovingAverages.h"
#include "indicators/RSI.h"
#include "indicators/TechnicalAnalysis.h"
#include "indicators/TrueRange.h"
