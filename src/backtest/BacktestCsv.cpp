#include "backtest/BacktestCsv.h"

#include <vector>

#include "backtest/CsvCells.h"

namespace cotalys {
namespace {

// What one line describes: a signal, its symbol and the setting that found it.
struct TSignalLine {
    const std::string& Symbol;
    const std::string& Setting;
    const TEntrySignal& Signal;
};

struct TBacktestCsvColumn {
    const char* Header;
    std::string (*Cell)(const TSignalLine& ALine);
};

// Header and cells come from this one table, so a line always has as many cells as the header.
const TBacktestCsvColumn Columns[] = {
    {"Symbole", [](const TSignalLine& L) { return CsvOutsideText(L.Symbol); }},
    {"Reglage", [](const TSignalLine& L) { return CsvText(L.Setting); }},
    {"Date", [](const TSignalLine& L) { return CsvDate(L.Signal.Date); }},
    {"Note", [](const TSignalLine& L) { return std::to_string(L.Signal.Score); }},
    {"Zone", [](const TSignalLine& L) { return CsvText(L.Signal.ZoneLabel); }},
    {"Cours", [](const TSignalLine& L) { return CsvNumber(L.Signal.Price); }},
    {"RSI", [](const TSignalLine& L) { return CsvNumber(L.Signal.RsiValue); }},
    {"Conditions", [](const TSignalLine& L) { return CsvText(L.Signal.Conditions()); }},
    {"MarcheMM50", [](const TSignalLine& L) { return CsvFlag(L.Signal.MarketOK); }},
    {"MargeResistance", [](const TSignalLine& L) { return CsvNumber(L.Signal.MarginResPct); }},
    {"Risque", [](const TSignalLine& L) { return CsvNumber(L.Signal.RiskPct); }},
    {"GainRisque", [](const TSignalLine& L) { return CsvNumber(L.Signal.RewardRisk()); }},
    {"EcartPlusHaut1an", [](const TSignalLine& L) { return CsvNumber(L.Signal.DistHighPct); }},
    {"Perf10", [](const TSignalLine& L) { return CsvNumber(L.Signal.Perf10); }},
    {"Perf20", [](const TSignalLine& L) { return CsvNumber(L.Signal.Perf20); }},
    {"BaisseMax20", [](const TSignalLine& L) { return CsvNumber(L.Signal.MaxDrawdown20); }},
    {"Stop", [](const TSignalLine& L) { return CsvNumber(L.Signal.StopPrice); }},
    {"StopTouche", [](const TSignalLine& L) { return CsvFlag(L.Signal.StopHit); }},
    {"SeancesAvantStop", [](const TSignalLine& L) { return std::to_string(L.Signal.StopBar); }},
    {"Perf20AvecStop", [](const TSignalLine& L) { return CsvNumber(L.Signal.Perf20Stop); }},
};

}  // namespace

std::string BacktestCsvHeader() {
    std::vector<std::string> cells;
    for (const TBacktestCsvColumn& column : Columns) {
        cells.emplace_back(column.Header);
    }
    return CsvLine(cells);
}

std::string BacktestCsvLine(const std::string& ASymbol, const std::string& ASettingName,
                            const TEntrySignal& ASignal) {
    const TSignalLine line{ASymbol, ASettingName, ASignal};
    std::vector<std::string> cells;
    for (const TBacktestCsvColumn& column : Columns) {
        cells.push_back(column.Cell(line));
    }
    return CsvLine(cells);
}

std::vector<std::string> ConfidenceCsvLines(const std::vector<TConfidenceRow>& ARows) {
    std::vector<std::string> lines = {
        "Reglage;Signaux;Mois;Ecart 20 s. %;Bas 20 s. %;Haut 20 s. %;Ecart 20 s. stop %;"
        "Bas 20 s. stop %;Haut 20 s. stop %;Verdict"};
    for (const TConfidenceRow& row : ARows) {
        lines.push_back(
            CsvLine({CsvText(row.Name), std::to_string(row.Signals), std::to_string(row.Months),
                     CsvNumber(row.Diff20), CsvNumber(row.Low20), CsvNumber(row.High20),
                     CsvNumber(row.DiffStop), CsvNumber(row.LowStop), CsvNumber(row.HighStop),
                     CsvText(VerdictText(row.Verdict))}));
    }
    return lines;
}

}  // namespace cotalys
