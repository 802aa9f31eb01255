#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/Core.h"
#include "parsing/Parsing.h"

// The three parsers on inputs of the size a load meets: 1,500 sessions of chart JSON and CSV, a
// 2 MB history page holding several tables, and 5 MB of table tags that are never closed.
namespace cotalys {
namespace {

constexpr int Sessions = 1500;

struct TDemoRow {
    std::string Date;  // yyyy-mm-dd
    std::string Open, High, Low, Close, Volume;
};

std::string ReadText(const std::string& APath) {
    std::ifstream in(APath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The bundled real history of one stock (Date,Open,High,Low,Close,Volume,Dividends).
std::vector<TDemoRow> DemoRows(const std::string& ASymbol) {
    std::istringstream lines(ReadText(std::string(COTALYS_DATA_DIR) + "/demo/" + ASymbol + ".csv"));
    std::vector<TDemoRow> rows;
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::vector<std::string> cells;
        std::istringstream fields(line);
        for (std::string cell; std::getline(fields, cell, ',');) {
            cells.push_back(cell);
        }
        if (cells.size() >= 6) {
            rows.push_back({cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]});
        }
    }
    return rows;
}

std::string CsvText() {
    const std::string all = ReadText(std::string(COTALYS_DATA_DIR) + "/demo/AI.PA.csv");
    std::size_t end = 0;
    for (int line = 0; line <= Sessions; ++line) {
        end = all.find('\n', end) + 1;
    }
    return all.substr(0, end);
}

std::string ChartJson() {
    const std::vector<TDemoRow> rows = DemoRows("AI.PA");
    std::string timestamps, opens, highs, lows, closes, volumes;
    for (int i = 0; i < Sessions; ++i) {
        const TDemoRow& row = rows[static_cast<std::size_t>(i)];
        const std::string comma = i ? "," : "";
        const int year = std::stoi(row.Date.substr(0, 4));
        const int month = std::stoi(row.Date.substr(5, 2));
        const int day = std::stoi(row.Date.substr(8, 2));
        const auto seconds =
            static_cast<long long>((EncodeDate(year, month, day) - UnixDateDelta) * 86400) + 28800;
        timestamps += comma + std::to_string(seconds);
        opens += comma + row.Open;
        highs += comma + row.High;
        lows += comma + row.Low;
        closes += comma + row.Close;
        volumes += comma + row.Volume;
    }
    return "{\"chart\":{\"result\":[{\"meta\":{\"currency\":\"EUR\",\"symbol\":\"AI.PA\","
           "\"gmtoffset\":3600,\"longName\":\"L'Air Liquide S.A.\"},\"timestamp\":[" +
           timestamps +
           "],\"events\":{\"dividends\":{\"1\":{\"amount\":2.9,\"date\":1684137600}}},"
           "\"indicators\":{\"quote\":[{\"open\":[" +
           opens + "],\"high\":[" + highs + "],\"low\":[" + lows + "],\"close\":[" + closes +
           "],\"volume\":[" + volumes + "]}]}}],\"error\":null}}";
}

// A price written the French way: decimal comma, thousands after a no-break space entity.
std::string FrenchNumber(const std::string& AValue) {
    std::string text = AValue.substr(
        0, AValue.find('.') == std::string::npos ? AValue.size() : AValue.find('.') + 3);
    const auto point = text.find('.');
    std::string integer = text.substr(0, point);
    std::string decimals;
    if (point != std::string::npos) {
        decimals = ',';
        decimals += text.substr(point + 1);
    }
    for (int pos = static_cast<int>(integer.size()) - 3; pos > 0; pos -= 3) {
        integer.insert(static_cast<std::size_t>(pos), "&nbsp;");
    }
    return integer + decimals;
}

std::string HistoryTable(const std::string& ASymbol) {
    std::string table = "<table class=\"table table-striped historique\" data-symbol=\"" + ASymbol +
                        "\">\n<thead><tr><th colspan=\"6\">Historique " + ASymbol +
                        "</th></tr>\n<tr><th>Date</th><th>Ouverture</th><th>Plus haut</th>"
                        "<th>Plus bas</th><th>Cl&ocirc;ture</th><th>Volume</th></tr></thead>\n"
                        "<tbody>\n";
    for (const TDemoRow& row : DemoRows(ASymbol)) {
        const std::string date =
            row.Date.substr(8, 2) + "/" + row.Date.substr(5, 2) + "/" + row.Date.substr(0, 4);
        table += "<tr class=\"ligne\"><td class=\"date\">" + date + "</td><td class=\"num\">" +
                 FrenchNumber(row.Open) + "</td><td class=\"num\">" + FrenchNumber(row.High) +
                 "</td><td class=\"num\">" + FrenchNumber(row.Low) +
                 "</td><td class=\"num\"><span class=\"c\">" + FrenchNumber(row.Close) +
                 "</span></td><td class=\"num\">" + FrenchNumber(row.Volume) + "</td></tr>\n";
    }
    return table + "</tbody></table>\n";
}

std::string HistoryPage() {
    std::string page =
        "<!DOCTYPE html><html lang=\"fr\"><head><meta charset=\"utf-8\"><title>Historique</title>"
        "<style>.num{text-align:right}</style><script>window.dataLayer=[];</script></head><body>"
        "<!-- navigation --><table class=\"menu\"><tr><td><a href=\"/\">Accueil</a></td>"
        "<td><a href=\"/marches\">March&eacute;s</a></td></tr></table>\n";
    for (const char* symbol : {"OR.PA", "MC.PA", "AI.PA", "BNP.PA"}) {
        page += HistoryTable(symbol);
    }
    page += "<table class=\"actus\">";
    for (int i = 0; page.size() < 2'000'000; ++i) {
        page += "<tr><td>" + std::to_string(i) + "</td><td><a href=\"/actu/" + std::to_string(i) +
                "\">Les valeurs du CAC 40 &agrave; suivre aujourd&#8217;hui</a></td></tr>\n";
    }
    return page + "</table></body></html>";
}

std::string UnclosedTags() {
    std::string page;
    while (page.size() < 5'000'000) {
        page += "<table><tr><td>12/03/2024<td>45,10";
    }
    return page;
}

void Run(benchmark::State& AState, const IPriceParser& AParser, const std::string& AContent,
         bool AExpectError) {
    for (auto _ : AState) {
        TPriceSeries series("BENCH.PA");
        TParseReport report;
        try {
            benchmark::DoNotOptimize(AParser.Parse(AContent, series, report));
        } catch (const EParseError& E) {
            if (!AExpectError) {
                AState.SkipWithError(E.what());
                break;
            }
        }
    }
    AState.SetBytesProcessed(static_cast<std::int64_t>(AState.iterations()) *
                             static_cast<std::int64_t>(AContent.size()));
}

void BM_ChartJson1500Days(benchmark::State& AState) {
    static const std::string content = ChartJson();
    Run(AState, TYahooChartParser(), content, false);
}
BENCHMARK(BM_ChartJson1500Days)->Unit(benchmark::kMillisecond);

void BM_Csv1500Lines(benchmark::State& AState) {
    static const std::string content = CsvText();
    Run(AState, TCsvPriceParser(), content, false);
}
BENCHMARK(BM_Csv1500Lines)->Unit(benchmark::kMillisecond);

void BM_Html2MBSeveralTables(benchmark::State& AState) {
    static const std::string content = HistoryPage();
    Run(AState, THtmlTableParser(-1), content, false);
}
BENCHMARK(BM_Html2MBSeveralTables)->Unit(benchmark::kMillisecond);

void BM_Html5MBUnclosedTableTags(benchmark::State& AState) {
    static const std::string content = UnclosedTags();
    Run(AState, THtmlTableParser(-1), content, true);
}
BENCHMARK(BM_Html5MBUnclosedTableTags)->Unit(benchmark::kMillisecond);

void BM_Html5MBUnclosedTagsOneClosingTag(benchmark::State& AState) {
    static const std::string content = UnclosedTags() + "</table>";
    Run(AState, THtmlTableParser(-1), content, true);
}
BENCHMARK(BM_Html5MBUnclosedTagsOneClosingTag)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cotalys
