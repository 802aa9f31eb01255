#include "parsing/YahooChartParser.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/Core.h"
#include "parsing/TextHelpers.h"

namespace cotalys {
namespace {

// Objects keep their members in document order, as dividends must.
using json = nlohmann::ordered_json;

// The last day the calendar can hold (9999-12-31); later timestamps are no trading days.
constexpr TDateTime LastCalendarDay = 2958465;

// The member at a dotted path ("meta.gmtoffset"), or nullptr when a step is missing or is not
// an object.
const json* Member(const json& AValue, std::string_view APath) {
    const json* current = &AValue;
    while (!APath.empty()) {
        const auto dot = APath.find('.');
        const std::string name(APath.substr(0, dot));
        if (!current->is_object()) {
            return nullptr;
        }
        const auto found = current->find(name);
        if (found == current->end()) {
            return nullptr;
        }
        current = &*found;
        APath = dot == std::string_view::npos ? std::string_view() : APath.substr(dot + 1);
    }
    return current;
}

// Readers of single members: absent, null or unconvertible members give the default. Numbers
// and numeric text convert into each other; nothing else converts.
std::string JsonString(const json& AValue, std::string_view APath, const std::string& ADefault) {
    const json* member = Member(AValue, APath);
    if (member == nullptr) {
        return ADefault;
    }
    if (member->is_string()) {
        return member->get<std::string>();
    }
    if (member->is_number()) {
        return member->dump();
    }
    return ADefault;
}

double JsonDouble(const json& AValue, std::string_view APath, double ADefault) {
    const json* member = Member(AValue, APath);
    double value = 0;
    if (member != nullptr && member->is_number()) {
        return member->get<double>();
    }
    if (member != nullptr && member->is_string() &&
        TryStrToFloatInvariant(member->get_ref<const std::string&>(), value) &&
        std::isfinite(value)) {
        return value;
    }
    return ADefault;
}

std::int64_t JsonInt64(const json& AValue, std::string_view APath, std::int64_t ADefault) {
    const json* member = Member(AValue, APath);
    if (member != nullptr && member->is_number_integer()) {
        // An unsigned value beyond the signed range converts to nothing.
        if (member->is_number_unsigned() &&
            member->get<std::uint64_t>() >
                static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return ADefault;
        }
        return member->get<std::int64_t>();
    }
    const double value = JsonDouble(AValue, APath, NaN);
    if (std::isfinite(value) && std::fabs(value) < 9.2e18) {
        return static_cast<std::int64_t>(std::trunc(value));
    }
    return ADefault;
}

// True with the element's value when AArray exists, AIndex is inside it and the element is a
// number; otherwise false with NaN.
bool JsonNumberAt(const json* AArray, std::size_t AIndex, double& AValue) {
    AValue = NaN;
    if (AArray == nullptr || AIndex >= AArray->size() || !(*AArray)[AIndex].is_number()) {
        return false;
    }
    AValue = (*AArray)[AIndex].get<double>();
    return true;
}

const char* KindName(json::value_t AKind) {
    switch (AKind) {
        case json::value_t::object:
            return "objet";
        case json::value_t::array:
            return "tableau";
        case json::value_t::string:
            return "texte";
        case json::value_t::boolean:
            return "booleen";
        case json::value_t::null:
            return "null";
        default:
            return "nombre";
    }
}

// A member that must be of one JSON kind when present; a wrong kind (null included) is a
// malformed document the caller reports as it stands, not a parse error of ours.
const json* OptionalOfKind(const json& AObject, const char* AName, json::value_t AKind) {
    const auto found = AObject.find(AName);
    if (found == AObject.end()) {
        return nullptr;
    }
    if (found->type() != AKind) {
        throw std::runtime_error(
            Format("Yahoo chart JSON : le membre \"%s\" est de type %s au lieu de %s", AName,
                   KindName(found->type()), KindName(AKind)));
    }
    return &*found;
}

// How deeply containers nest inside AValue, counted without recursion.
std::size_t NestingDepth(const json& AValue) {
    std::size_t deepest = 0;
    std::vector<std::pair<const json*, std::size_t>> pending{{&AValue, 1}};
    while (!pending.empty()) {
        const auto [value, depth] = pending.back();
        pending.pop_back();
        if (value->is_structured()) {
            deepest = std::max(deepest, depth);
            for (const auto& child : *value) {
                pending.emplace_back(&child, depth + 1);
            }
        }
    }
    return deepest;
}

// The text of an error object without a description: its JSON, unless it nests so deeply that
// writing it out would exhaust the stack.
std::string ErrorObjectText(const json& AError) {
    constexpr std::size_t MaxDepth = 100;
    return NestingDepth(AError) <= MaxDepth ? AError.dump() : "(objet d'erreur illisible)";
}

// The exchange's local day of a Unix time.
TDateTime DayOfTimestamp(double ASeconds, std::int64_t AGmtOffset) {
    return std::trunc((ASeconds + static_cast<double>(AGmtOffset)) / SecondsPerDay + UnixDateDelta);
}

// Volumes are counts: rounded to the nearest integer (halves to even), 0 when missing or beyond
// a 64-bit count.
std::int64_t VolumeAt(const json* AVolumes, std::size_t AIndex) {
    double value = 0;
    if (!JsonNumberAt(AVolumes, AIndex, value)) {
        return 0;
    }
    const double rounded = std::nearbyint(value);
    return std::fabs(rounded) < 9.2e18 ? static_cast<std::int64_t>(rounded) : 0;
}

void ReadDividends(const json& AResult, std::int64_t AGmtOffset, TPriceSeries& ASeries) {
    const json* dividends = Member(AResult, "events.dividends");
    if (dividends == nullptr || !dividends->is_object()) {
        return;
    }
    ASeries.ClearDividends();
    for (const auto& [name, dividend] : dividends->items()) {
        if (!dividend.is_object()) {
            continue;
        }
        const double amount = JsonDouble(dividend, "amount", 0);
        const std::int64_t date = JsonInt64(dividend, "date", 0);
        if (amount > 0 && date > 0) {
            ASeries.AddDividend(DayOfTimestamp(static_cast<double>(date), AGmtOffset), amount);
        }
    }
}

// The parse error of the document named ASource, with no line.
EParseError ChartError(const std::string& ASource, const std::string& AText) {
    return EParseError::CreateAt(ASource, 0, AText);
}

// The first result of a chart document; the error the service sent, or what is missing.
const json& ChartResult(const json& ADocument, const std::string& ASource) {
    if (const json* error = Member(ADocument, "chart.error");
        error != nullptr && error->is_object()) {
        throw ChartError(ASource, "erreur renvoyee par le serveur : " +
                                      JsonString(*error, "description", ErrorObjectText(*error)));
    }
    const json* results = Member(ADocument, "chart.result");
    if (results == nullptr || !results->is_array() || results->empty() ||
        !(*results)[0].is_object()) {
        throw ChartError(ASource, "noeud chart.result[0] absent");
    }
    return (*results)[0];
}

// The parallel arrays of a result: timestamps and closes always there, the others or nullptr.
struct TQuoteArrays {
    const json* Timestamps = nullptr;
    const json* Opens = nullptr;
    const json* Highs = nullptr;
    const json* Lows = nullptr;
    const json* Closes = nullptr;
    const json* Volumes = nullptr;
};

TQuoteArrays QuoteArraysOf(const json& AResult, const std::string& ASource) {
    TQuoteArrays arrays;
    arrays.Timestamps = Member(AResult, "timestamp");
    if (arrays.Timestamps == nullptr || !arrays.Timestamps->is_array()) {
        throw EEmptyChartDocument(
            ChartError(ASource, "aucun horodatage (symbole inconnu ou periode vide)"));
    }
    const json* quotes = Member(AResult, "indicators.quote");
    if (quotes == nullptr || !quotes->is_array() || quotes->empty() || !(*quotes)[0].is_object()) {
        throw ChartError(ASource, "bloc indicators.quote absent");
    }
    const json& quote = (*quotes)[0];
    arrays.Opens = OptionalOfKind(quote, "open", json::value_t::array);
    arrays.Highs = OptionalOfKind(quote, "high", json::value_t::array);
    arrays.Lows = OptionalOfKind(quote, "low", json::value_t::array);
    arrays.Closes = OptionalOfKind(quote, "close", json::value_t::array);
    arrays.Volumes = OptionalOfKind(quote, "volume", json::value_t::array);
    if (arrays.Closes == nullptr) {
        throw ChartError(ASource, "tableau close absent");
    }
    return arrays;
}

// The bar of session AIndex, or false with the reason it is rejected.
bool BarAt(const TQuoteArrays& AArrays, std::size_t AIndex, std::int64_t AGmtOffset,
           TPriceBar& ABar, std::string& AReason) {
    double seconds = 0;
    if (!JsonNumberAt(AArrays.Timestamps, AIndex, seconds)) {
        AReason = "horodatage invalide";
        return false;
    }
    const TDateTime day = DayOfTimestamp(seconds, AGmtOffset);
    if (!(day <= LastCalendarDay)) {
        AReason = "horodatage invalide";
        return false;
    }
    double close = 0;
    if (!JsonNumberAt(AArrays.Closes, AIndex, close)) {
        // The service marks sessions without a quote with a null close.
        AReason = "cloture nulle (seance non cotee)";
        return false;
    }
    double open = 0, high = 0, low = 0;
    JsonNumberAt(AArrays.Opens, AIndex, open);
    JsonNumberAt(AArrays.Highs, AIndex, high);
    JsonNumberAt(AArrays.Lows, AIndex, low);
    ABar = TPriceBar::New(day, open, high, low, close, VolumeAt(AArrays.Volumes, AIndex));
    ABar.Normalize();
    return ABar.IsValid(AReason);
}

}  // namespace

int TYahooChartParser::Parse(std::string_view AContent, TPriceSeries& ASeries,
                             TParseReport& AReport) const {
    AReport.SetSourceName(Name());
    const json document = json::parse(AContent.begin(), AContent.end(), nullptr, false);
    if (document.is_discarded()) {
        throw ChartError(
            Name(), Format("JSON invalide (debut : \"%s\")", FirstChars(TrimBlanks(AContent), 80)));
    }
    const json& result = ChartResult(document, Name());
    std::int64_t gmtOffset = 0;
    if (const json* meta = OptionalOfKind(result, "meta", json::value_t::object)) {
        gmtOffset = JsonInt64(*meta, "gmtoffset", 0);
        ASeries.SetCurrency(JsonString(*meta, "currency", ""));
        ASeries.SetName(JsonString(*meta, "longName", JsonString(*meta, "shortName", "")));
    }
    ReadDividends(result, gmtOffset, ASeries);

    const TQuoteArrays arrays = QuoteArraysOf(result, Name());
    if (arrays.Closes->size() != arrays.Timestamps->size()) {
        AReport.Warn(Format("Longueurs incoherentes : %d horodatages, %d clotures",
                            arrays.Timestamps->size(), arrays.Closes->size()));
    }
    int count = 0;
    for (std::size_t j = 0; j < arrays.Timestamps->size(); ++j) {
        TPriceBar bar;
        std::string reason;
        if (!BarAt(arrays, j, gmtOffset, bar, reason)) {
            AReport.Reject(static_cast<int>(j) + 1, reason);
            continue;
        }
        AReport.Accept();
        ASeries.Add(bar);
        ++count;
    }
    if (count == 0) {
        throw ChartError(Name(), "aucune barre valide dans la reponse");
    }
    return count;
}

}  // namespace cotalys
