#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace cotalys {

// The 40 constituents of the CAC 40 in their usual order.
const std::vector<std::string>& CAC40();

// Symbols of a text list, one a line: blanks trimmed, "#" comments and empty lines skipped, text
// after a ";" dropped, letters upper-cased, duplicates kept once in first-seen order. Throws
// EFinanceError "Aucun symbole dans FILE" when none is found, and when the file cannot be read.
std::vector<std::string> LoadSymbols(const std::filesystem::path& AFileName);

// "cac40.txt" beside the executable: the list that replaces the CAC 40 when it exists.
std::filesystem::path SymbolListFile();

// The symbols a backtest or a scan runs over, and the list they were read from.
struct TSymbolList {
    std::vector<std::string> Symbols;
    std::filesystem::path File;  // empty for the built-in CAC 40

    // "N symbole(s) lus dans FILE" with the file's full path, as a run announces a list read
    // from a file; empty for the CAC 40.
    std::string ReadNote() const;
};

// The symbols of AListFile when that file exists, else the CAC 40. Throws as LoadSymbols.
TSymbolList ChooseSymbolList(const std::filesystem::path& AListFile);

}  // namespace cotalys
