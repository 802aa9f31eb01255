#pragma once

#include <string>

#include "signals/EntrySignals.h"

namespace cotalys {

// The header line of the backtest detail CSV.
std::string BacktestCsvHeader();
// One detail line: the signal ASignal of ASymbol found with the setting ASettingName.
std::string BacktestCsvLine(const std::string& ASymbol, const std::string& ASettingName,
                            const TEntrySignal& ASignal);

// The lines of the file of the settings' differences to the reference, header first.
std::vector<std::string> ConfidenceCsvLines(const std::vector<TConfidenceRow>& ARows);

}  // namespace cotalys
