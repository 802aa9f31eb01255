// The offline quote service's answer to a chart request: any period1 and period2 a query may
// carry (any 64-bit value) and any symbol or name text. The documents it serves must read back
// through the chart parser: the sessions of the window, or the service's own refusal.
#include <cstring>

#include "FuzzSupport.h"
#include "parsing/YahooChartParser.h"
#include "quoteserver/QuoteService.h"

using cotalys::fuzz::Require;

namespace {

// Forty sessions across the change to summer time, with two dividends.
cotalys::TPriceSeries History() {
    cotalys::TPriceSeries series("AI.PA");
    const cotalys::TDateTime first = cotalys::EncodeDate(2024, 3, 4);
    for (int i = 0; i < 40; ++i) {
        const double close = 160 + i % 7;
        series.Add(
            cotalys::TPriceBar::New(first + i, close, close + 1, close - 1, close, 1000 + i));
    }
    series.AddDividend(first + 10, 2.8);
    series.AddDividend(first + 30, 0.5);
    return series;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
    static const cotalys::TPriceSeries history = History();
    std::int64_t period[2] = {0, 0};
    const std::size_t head = std::min(ASize, sizeof(period));
    std::memcpy(period, AData, head);
    const auto text = cotalys::fuzz::AsText(AData + head, ASize - head);

    cotalys::TPriceSeries named = history;
    named.SetName(std::string(text));
    int expected = 0;
    for (const cotalys::TPriceBar& bar : history.Bars()) {
        const std::int64_t stamp = cotalys::ParisSessionTimestamp(bar.Date);
        expected += stamp >= period[0] && stamp < period[1] ? 1 : 0;
    }
    const cotalys::TYahooChartParser parser;
    cotalys::TPriceSeries series("AI.PA");
    cotalys::TParseReport report;
    try {
        const int count =
            parser.Parse(cotalys::ChartDocument(named, period[0], period[1]), series, report);
        Require(count == expected, "les seances de la fenetre, pas une de plus");
    } catch (const cotalys::EParseError&) {
        Require(expected == 0, "un refus seulement pour une fenetre vide");
    }

    try {
        parser.Parse(cotalys::ChartErrorDocument("Not Found", "Aucune donnee pour " + named.Name()),
                     series, report);
        Require(false, "le document d'erreur est un refus");
    } catch (const cotalys::EParseError& E) {
        Require(E.Message().rfind("Yahoo chart JSON : erreur renvoyee par le serveur : ", 0) == 0,
                "le refus cite le serveur");
    }
    return 0;
}
