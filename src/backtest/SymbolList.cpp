#include <algorithm>

#include "backtest/BacktestRunner.h"
#include "core/Core.h"

namespace cotalys {
namespace {

// Blanks and control characters at both ends removed.
std::string Trim(std::string_view AText) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!AText.empty() && blank(AText.front())) {
        AText.remove_prefix(1);
    }
    while (!AText.empty() && blank(AText.back())) {
        AText.remove_suffix(1);
    }
    return std::string(AText);
}

// The symbol a list line holds, or empty for a line that holds none.
std::string SymbolOfLine(std::string_view ALine) {
    std::string symbol = Trim(ALine);
    if (symbol.empty() || symbol.front() == '#') {
        return "";
    }
    // "ai.pa ; Air Liquide": the symbol, then the company name.
    const std::size_t semicolon = symbol.find(';');
    if (semicolon != std::string::npos) {
        symbol = Trim(std::string_view(symbol).substr(0, semicolon));
    }
    for (char& c : symbol) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return symbol;
}

}  // namespace

const std::vector<std::string>& TBacktestRunner::CAC40() {
    static const std::vector<std::string> symbols = {
        "AC.PA",  "AI.PA",    "AIR.PA",   "MT.AS",  "CS.PA",  "BNP.PA", "EN.PA",   "BVI.PA",
        "CAP.PA", "CA.PA",    "ACA.PA",   "BN.PA",  "DSY.PA", "FGR.PA", "ENGI.PA", "EL.PA",
        "ERF.PA", "ENX.PA",   "RMS.PA",   "KER.PA", "OR.PA",  "LR.PA",  "MC.PA",   "ML.PA",
        "ORA.PA", "RI.PA",    "PUB.PA",   "RNO.PA", "SAF.PA", "SGO.PA", "SAN.PA",  "SU.PA",
        "GLE.PA", "STLAP.PA", "STMPA.PA", "HO.PA",  "TTE.PA", "URW.PA", "VIE.PA",  "DG.PA"};
    return symbols;
}

std::vector<std::string> TBacktestRunner::LoadSymbols(const std::filesystem::path& AFileName) {
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

std::filesystem::path TBacktestRunner::SymbolListFile() {
    return ExecutableDir() / "cac40.txt";
}

}  // namespace cotalys
