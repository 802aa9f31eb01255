#pragma once

// Entry signals and the market regime they are judged against: the signal records, detection,
// outcomes with stops, statistics, the reference and the French report tables.
#include "signals/BacktestFigures.h"
#include "signals/BaselineSignals.h"
#include "signals/Confidence.h"
#include "signals/EntrySignal.h"
#include "signals/EntrySignalDetector.h"
#include "signals/ExitReason.h"
#include "signals/MarketRegime.h"
#include "signals/PortfolioFigures.h"
#include "signals/SignalBucket.h"
#include "signals/SignalOutcomes.h"
#include "signals/SignalParams.h"
#include "signals/SignalReports.h"
#include "signals/SignalStats.h"
#include "signals/StandardVariants.h"
#include "signals/StopConfig.h"
#include "signals/VariantComparison.h"
#include "signals/YearHigh.h"
