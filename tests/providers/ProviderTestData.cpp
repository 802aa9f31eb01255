#include "ProviderTestData.h"

#include <cstdlib>
#include <ctime>

#include "providers/Providers.h"

namespace cotalys::test {

TDateTime Day(const std::string& AIso) {
    return EncodeDate(std::stoi(AIso.substr(0, 4)), std::stoi(AIso.substr(5, 2)),
                      std::stoi(AIso.substr(8, 2)));
}

namespace {

long long Timestamp(const std::string& AIso) {
    return static_cast<long long>(Day(AIso) - UnixDateDelta) * 86400 + 8 * 3600;
}

}  // namespace

std::string ChartDocument(const std::vector<TSession>& ASessions,
                          const std::vector<std::string>& ADividendDays) {
    std::string timestamps, closes, volumes, dividends;
    for (const auto& s : ASessions) {
        const std::string comma = timestamps.empty() ? "" : ",";
        timestamps += comma + std::to_string(Timestamp(s.Day));
        closes += comma + FloatToStrInvariant(s.Close);
        volumes += comma + std::to_string(s.Volume);
    }
    for (const auto& d : ADividendDays) {
        const std::string t = std::to_string(Timestamp(d));
        dividends +=
            (dividends.empty() ? "" : ",") + ("\"" + t + "\":{\"amount\":1.5,\"date\":" + t + "}");
    }
    return "{\"chart\":{\"result\":[{\"meta\":{\"currency\":\"EUR\",\"longName\":\"Renault SA\","
           "\"gmtoffset\":3600},\"events\":{\"dividends\":{" +
           dividends + "}},\"timestamp\":[" + timestamps +
           "],\"indicators\":{\"quote\":[{\"close\":[" + closes + "],\"volume\":[" + volumes +
           "]}]}}],\"error\":null}}";
}

std::string HtmlPage(const std::vector<TSession>& ASessions) {
    std::string rows;
    const TFormatSettings french = FrenchFormatSettings();
    for (const auto& s : ASessions) {
        const std::string price = "</td><td>" + FormatFloat("0.00", s.Close, french);
        rows += "<tr><td>" + FormatDateTime("dd/mm/yyyy", Day(s.Day), french) + price + price +
                price + price + "</td><td>" + std::to_string(s.Volume) + "</td></tr>\n";
    }
    return "<html><body><table>\n<tr><th>Date</th><th>Ouverture</th><th>Plus haut</th>"
           "<th>Plus bas</th><th>Cl&ocirc;ture</th><th>Volume</th></tr>\n" +
           rows + "</table></body></html>";
}

std::string CsvText(const std::vector<TSession>& ASessions) {
    std::string text = "Date,Close,Volume\n";
    for (const auto& s : ASessions)
        text += s.Day + "," + FloatToStrInvariant(s.Close) + "," + std::to_string(s.Volume) + "\n";
    return text;
}

std::vector<std::string> Days(const TPriceSeries& ASeries) {
    std::vector<std::string> days;
    for (const auto& bar : ASeries.Bars())
        days.push_back(FormatDateTime("yyyy-mm-dd", bar.Date, FrenchFormatSettings()));
    return days;
}

TTimeZoneScope::TTimeZoneScope(const char* AZone) {
    if (const char* old = std::getenv("TZ")) {
        FHadValue = true;
        FOldValue = old;
    }
    ::setenv("TZ", AZone, 1);
    ::tzset();
}

TTimeZoneScope::~TTimeZoneScope() {
    if (FHadValue)
        ::setenv("TZ", FOldValue.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

TQuoteHostScope::TQuoteHostScope(const std::string& ABaseUrl) {
    SetQuoteHost(ABaseUrl);
}

TQuoteHostScope::~TQuoteHostScope() {
    SetQuoteHost("");
}

}  // namespace cotalys::test
