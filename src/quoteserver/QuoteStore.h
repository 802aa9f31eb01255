#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/Core.h"

namespace cotalys {

// What the offline quote service serves.
struct TQuoteServiceOptions {
    // Folder of price files: SYMBOL.csv (any layout the CSV reader knows, with an optional
    // dividends column) or SYMBOL.json (chart documents), and an optional names file.
    std::filesystem::path Folder;
    // Moves every history by whole weeks so that the last session falls in the week before
    // today, weekdays kept.
    bool ShiftToToday = false;
};

// The histories of a folder of price files, loaded once and then read by any thread.
class TQuoteStore {
public:
    // Name of the optional file of the folder holding "SYMBOL;Name" lines.
    static constexpr const char* NamesFileName = "names.txt";

    // Reads every price file of the folder. A file that cannot be read is left out and listed
    // in Problems(). EDataProviderError when the folder is missing or gives no history at all.
    static TQuoteStore Load(const TQuoteServiceOptions& AOptions);

    // The history of ASymbol (exact ticker, such as "^FCHI"), or nullptr when unknown.
    const TPriceSeries* Find(const std::string& ASymbol) const;
    // Known tickers in ascending order.
    std::vector<std::string> Symbols() const;
    // One French line per price file that was left out.
    const std::vector<std::string>& Problems() const { return FProblems; }
    // Days every history was moved by (a multiple of 7, 0 without shifting).
    int ShiftDays() const { return FShiftDays; }

private:
    std::map<std::string, TPriceSeries> FSeries;
    std::vector<std::string> FProblems;
    int FShiftDays = 0;
};

}  // namespace cotalys
