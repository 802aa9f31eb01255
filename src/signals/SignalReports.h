#pragma once

#include <string>
#include <vector>

#include "core/Core.h"
#include "signals/EntrySignal.h"
#include "signals/SignalStats.h"
#include "signals/StopConfig.h"

namespace cotalys {

// Fixed-width French tables of measured signals. Lines are joined by CR LF and the last line of
// each text carries no break of its own; numbers use the French format settings. A NaN
// percentage prints "-" in the tables and "en cours" in the per-signal report.

// The column titles of the settings table.
std::string StatsHeader();
// One line of the settings table: count, averages, winners, drawdown and stop figures.
std::string FormatStatsLine(const std::string& AName, const TSignalStats& ASt);
// "borne basse - 1,5 ATR en seance": where the default setting places its stop.
std::string DefaultStopText();
// Header and one line per stop; AStats[i] belongs to AStops[i] (extra entries of the longer
// array are ignored).
std::string StopsTable(const std::vector<TStopConfig>& AStops,
                       const std::vector<TSignalStats>& AStats);
// The settings header and one line per reward/risk slice, empty slices included.
std::string RewardRiskTable(const std::vector<TEntrySignal>& ASignals);
// The settings header and, per distance-from-high slice, the signals' line then the line of
// the reference (ABaseline) over the same slice.
std::string DistHighTable(const std::vector<TEntrySignal>& ASignals,
                          const std::vector<TEntrySignal>& ABaseline);
// The count line, then a line per signal and the summary; only the count line (with its line
// break) when there is no signal.
std::string FormatReport(const TPriceSeries& ASeries, const std::vector<TEntrySignal>& ASignals);

}  // namespace cotalys
