#include "backtest/SymbolList.h"

#include <algorithm>

#include "core/Core.h"

namespace cotalys {
namespace {

// The symbol a list line holds, or empty for a line that holds none.
std::string SymbolOfLine(std::string_view ALine) {
    std::string_view symbol = TrimBlanks(ALine);
    if (symbol.empty() || symbol.front() == '#') {
        return "";
    }
    // "ai.pa ; Air Liquide": the symbol, then the company name.
    return UpperAscii(TrimBlanks(symbol.substr(0, symbol.find(';'))));
}

}  // namespace

const std::vector<std::string>& CAC40() {
    static const std::vector<std::string> symbols = {
        "AC.PA",  "AI.PA",    "AIR.PA",   "MT.AS",  "CS.PA",  "BNP.PA", "EN.PA",   "BVI.PA",
        "CAP.PA", "CA.PA",    "ACA.PA",   "BN.PA",  "DSY.PA", "FGR.PA", "ENGI.PA", "EL.PA",
        "ERF.PA", "ENX.PA",   "RMS.PA",   "KER.PA", "OR.PA",  "LR.PA",  "MC.PA",   "ML.PA",
        "ORA.PA", "RI.PA",    "PUB.PA",   "RNO.PA", "SAF.PA", "SGO.PA", "SAN.PA",  "SU.PA",
        "GLE.PA", "STLAP.PA", "STMPA.PA", "HO.PA",  "TTE.PA", "URW.PA", "VIE.PA",  "DG.PA"};
    return symbols;
}

std::vector<std::string> LoadSymbols(const std::filesystem::path& AFileName) {
    const std::string text = DecodeFileBytes(ReadFileBytes(AFileName));
    std::vector<std::string> symbols;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        // A ";" line with nothing before it names no symbol: it is skipped rather than asked for.
        const std::string symbol = SymbolOfLine(std::string_view(text).substr(start, end - start));
        if (!symbol.empty() && std::find(symbols.begin(), symbols.end(), symbol) == symbols.end()) {
            symbols.push_back(symbol);
        }
        start = end + 1;
    }
    if (symbols.empty()) {
        throw EFinanceError(Format("Aucun symbole dans %s", AFileName.string()));
    }
    return symbols;
}

std::filesystem::path SymbolListFile() {
    return ExecutableDir() / "cac40.txt";
}

std::string TSymbolList::ReadNote() const {
    if (File.empty()) {
        return "";
    }
    return Format("%d symbole(s) lus dans %s", static_cast<int>(Symbols.size()),
                  std::filesystem::absolute(File).lexically_normal().string());
}

TSymbolList ChooseSymbolList(const std::filesystem::path& AListFile) {
    if (!std::filesystem::exists(AListFile)) {
        return {CAC40(), {}};
    }
    return {LoadSymbols(AListFile), AListFile};
}

}  // namespace cotalys
