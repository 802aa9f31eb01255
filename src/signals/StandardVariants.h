#pragma once

#include <vector>

#include "signals/SignalParams.h"

namespace cotalys {

// The standard analysis, shared by the review of one symbol, the backtest and the scanner.
// Symbol of the CAC 40 index, read beside every symbol for the market filter.
inline constexpr const char* MarketIndexSymbol = "^FCHI";
// Period of the RSI shown and tested everywhere.
inline constexpr int RsiPeriod = 14;
// Period of the index average behind the market filter (the "MM50").
inline constexpr int MarketAveragePeriod = 50;
// Sessions of one year, over which the highest high is read, and the fewest a reading needs.
inline constexpr int YearSessions = 252;
inline constexpr int YearHighMinimumSessions = 200;
// Sessions of the volume average against which each session's volume is graded.
inline constexpr int VolumeAveragePeriod = 20;
// Sessions after the entry over which a signal's outcome is measured, and after which a
// position taken on it is planned to be sold.
inline constexpr int SignalHorizonSessions = 20;
// Fewest bars the review of one symbol accepts: the indicators would not settle below.
inline constexpr int ReviewMinimumBars = 60;
// Fewest bars a symbol needs in a backtest or a scan.
inline constexpr int BatchMinimumBars = 120;
// Working window of the zone history: the zones of each bar come from its last 320 bars.
inline constexpr int ZoneWindowBars = 320;
// A signal on one of the last three bars (the last bar and the 2 before it) is recent: it is
// sized and the scanner retains it.
inline constexpr int RecentSignalBars = 3;

// The ten settings every comparison runs, in report order: the default first, then the default
// with one change each (RSI optional, 4/4 only, strong zones, MACD > 0, market above its MM50,
// reward/risk >= 1.5, resistance margin >= 5 %, within 10 % of the high, favourable CAC phase).
std::vector<TSignalParams> StandardVariants();

}  // namespace cotalys
