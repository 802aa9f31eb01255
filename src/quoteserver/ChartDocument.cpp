#include "quoteserver/ChartDocument.h"

#include <nlohmann/json.hpp>


namespace cotalys {

namespace {

using json = nlohmann::ordered_json;

// Compact text; a name read from a file with broken UTF-8 must not stop the answer.
std::string Dump(const json& ADocument) {
    return ADocument.dump(-1, ' ', false, json::error_handler_t::replace);
}

json Meta(const TPriceSeries& ASeries, std::int64_t AReferenceTime) {
    const int offset = ParisUtcOffset(AReferenceTime);
    json meta = {
        {"currency", ASeries.Currency().empty() ? "EUR" : ASeries.Currency()},
        {"symbol", ASeries.Symbol()},
        {"exchangeName", "PAR"},
        {"fullExchangeName", "Paris"},
        {"instrumentType", ASeries.Symbol().rfind('^', 0) == 0 ? "INDEX" : "EQUITY"},
        {"gmtoffset", offset},
        {"timezone", offset == 7200 ? "CEST" : "CET"},
        {"exchangeTimezoneName", "Europe/Paris"},
        {"dataGranularity", "1d"},
    };
    if (ASeries.Count() > 0) {
        const TPriceBar last = ASeries.Last();
        meta["firstTradeDate"] = ParisSessionTimestamp(ASeries.First().Date);
        meta["regularMarketTime"] = ParisSessionTimestamp(last.Date);
        meta["regularMarketPrice"] = last.Close;
    }
    if (!ASeries.Name().empty()) {
        meta["longName"] = ASeries.Name();
        meta["shortName"] = ASeries.Name();
    }
    return meta;
}

}  // namespace

std::string ChartDocument(const TPriceSeries& ASeries, std::int64_t APeriod1,
                          std::int64_t APeriod2) {
    json timestamps = json::array();
    json open = json::array(), high = json::array(), low = json::array(), close = json::array(),
         volume = json::array();
    for (const TPriceBar& bar : ASeries.Bars()) {
        const std::int64_t stamp = ParisSessionTimestamp(bar.Date);
        if (stamp < APeriod1 || stamp >= APeriod2)
            continue;
        timestamps.push_back(stamp);
        open.push_back(bar.Open);
        high.push_back(bar.High);
        low.push_back(bar.Low);
        close.push_back(bar.Close);
        volume.push_back(bar.Volume);
    }
    json dividends = json::object();
    for (const TDividend& dividend : ASeries.Dividends()) {
        const std::int64_t stamp = ParisSessionTimestamp(dividend.Date);
        if (stamp >= APeriod1 && stamp < APeriod2)
            dividends[std::to_string(stamp)] = {{"amount", dividend.Amount}, {"date", stamp}};
    }

    json result = {
        {"meta",
         Meta(ASeries, timestamps.empty() ? APeriod2 : timestamps.back().get<std::int64_t>())}};
    if (timestamps.empty()) {
        result["indicators"] = {{"quote", json::array({json::object()})},
                                {"adjclose", json::array({json::object()})}};
    } else {
        result["timestamp"] = timestamps;
        if (!dividends.empty())
            result["events"] = {{"dividends", dividends}};
        // The histories are not adjusted for dividends, so the adjusted close is the close.
        result["indicators"] = {{"quote", json::array({{{"open", open},
                                                        {"high", high},
                                                        {"low", low},
                                                        {"close", close},
                                                        {"volume", volume}}})},
                                {"adjclose", json::array({{{"adjclose", close}}})}};
    }
    return Dump(json{{"chart", {{"result", json::array({result})}, {"error", nullptr}}}});
}

std::string ChartErrorDocument(const std::string& ACode, const std::string& ADescription) {
    return Dump(
        json{{"chart",
              {{"result", nullptr}, {"error", {{"code", ACode}, {"description", ADescription}}}}}});
}

}  // namespace cotalys
