#include "quoteserver/QuoteStore.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <system_error>

#include "core/Core.h"
#include "parsing/Parsing.h"
#include "providers/Providers.h"
#include "quoteserver/DividendColumn.h"

namespace cotalys {

namespace {

// "SYMBOL;Name" per line; blank lines and lines starting with "#" are ignored.
std::map<std::string, std::string> ReadNames(const std::filesystem::path& AFile) {
    std::map<std::string, std::string> names;
    std::error_code error;
    if (!std::filesystem::is_regular_file(AFile, error))
        return names;
    const std::string text = DecodeFileBytes(ReadFileBytes(AFile));
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line(TrimBlanks(std::string_view(text).substr(start, end - start)));
        start = end + 1;
        const size_t separator = line.find(';');
        if (line.empty() || line[0] == '#' || separator == std::string::npos)
            continue;
        names[std::string(TrimBlanks(line.substr(0, separator)))] =
            std::string(TrimBlanks(line.substr(separator + 1)));
    }
    return names;
}

std::string LowerExtension(const std::filesystem::path& APath) {
    return LowerAscii(APath.extension().string());
}

// The file's history, sorted with one bar per day.
TPriceSeries ReadHistory(const std::filesystem::path& AFile, const std::string& ASymbol) {
    const std::string text = DecodeFileBytes(ReadFileBytes(AFile));
    TPriceSeries series(ASymbol);
    TParseReport report;
    if (LowerExtension(AFile) == ".json") {
        TYahooChartParser().Parse(text, series, report);
    } else {
        TCsvPriceParser().Parse(text, series, report);
        ReadCsvDividends(text, series);
    }
    series.SortAndDeduplicate();
    return series;
}

// The same history ADays later.
TPriceSeries Shifted(const TPriceSeries& ASeries, int ADays) {
    TPriceSeries result(ASeries.Symbol());
    result.SetName(ASeries.Name());
    result.SetCurrency(ASeries.Currency());
    for (TPriceBar bar : ASeries.Bars()) {
        bar.Date += ADays;
        result.Add(bar);
    }
    for (const TDividend& dividend : ASeries.Dividends())
        result.AddDividend(dividend.Date + ADays, dividend.Amount);
    return result;
}

}  // namespace

TQuoteStore TQuoteStore::Load(const TQuoteServiceOptions& AOptions) {
    std::error_code error;
    if (!std::filesystem::is_directory(AOptions.Folder, error))
        throw EDataProviderError(
            Format("Dossier de cours introuvable : %s", AOptions.Folder.string()));

    TQuoteStore store;
    const auto names = ReadNames(AOptions.Folder / NamesFileName);
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(AOptions.Folder, error)) {
        const std::string extension = LowerExtension(entry.path());
        if (entry.is_regular_file(error) && (extension == ".csv" || extension == ".json"))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());

    for (const auto& file : files) {
        const std::string symbol = file.stem().string();
        try {
            TPriceSeries series = ReadHistory(file, symbol);
            if (const auto name = names.find(symbol); name != names.end())
                series.SetName(name->second);
            store.FSeries.insert_or_assign(symbol, std::move(series));
        } catch (const std::exception& e) {
            store.FProblems.push_back(Format("%s ignore : %s", file.filename().string(), e.what()));
        }
    }
    if (store.FSeries.empty())
        throw EDataProviderError(
            Format("Aucun fichier de cours exploitable dans %s", AOptions.Folder.string()));

    if (AOptions.ShiftToToday) {
        int lastSession = 0;
        for (const auto& [symbol, series] : store.FSeries)
            lastSession = std::max(lastSession, DayOf(series.Last().Date));
        // Whole weeks keep every session on its weekday, so no bar lands on a weekend.
        store.FShiftDays =
            static_cast<int>(std::floor((LastWeekdayBefore(Today()) - lastSession) / 7.0)) * 7;
        for (auto& [symbol, series] : store.FSeries)
            series = Shifted(series, store.FShiftDays);
    }
    return store;
}

const TPriceSeries* TQuoteStore::Find(const std::string& ASymbol) const {
    const auto found = FSeries.find(ASymbol);
    return found == FSeries.end() ? nullptr : &found->second;
}

std::vector<std::string> TQuoteStore::Symbols() const {
    std::vector<std::string> symbols;
    for (const auto& [symbol, series] : FSeries)
        symbols.push_back(symbol);
    return symbols;
}

}  // namespace cotalys
