#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Core.h"
#include "providers/Providers.h"

namespace cotalys::test {

// The message of the EDataProviderError that AAction raises; fails the test otherwise.
template <class Action>
std::string ProviderErrorOf(Action AAction) {
    try {
        AAction();
    } catch (const EDataProviderError& e) {
        return e.Message();
    }
    ADD_FAILURE() << "no EDataProviderError";
    return "";
}

// Whether AAction failed as a service that could not answer (network, time-out, HTTP 5xx).
template <class Action>
bool UnreachableOf(Action AAction) {
    try {
        AAction();
    } catch (const EServiceUnreachable&) {
        return true;
    } catch (const EDataProviderError&) {
        return false;
    }
    ADD_FAILURE() << "no EDataProviderError";
    return false;
}

// One session of a small test history.
struct TSession {
    std::string Day;  // yyyy-mm-dd
    double Close;
    long Volume = 1000;
};

// A chart document of the quote service for ASessions (timestamps at 08:00 UTC, Paris offset),
// with one dividend per entry of ADividendDays (amount 1.5).
std::string ChartDocument(const std::vector<TSession>& ASessions,
                          const std::vector<std::string>& ADividendDays = {});
// An HTML page with one price table (flat French bars with their volume).
std::string HtmlPage(const std::vector<TSession>& ASessions);
// A comma-separated file with a Date,Close,Volume header.
std::string CsvText(const std::vector<TSession>& ASessions);
// The days of ASeries' bars as yyyy-mm-dd, oldest first.
std::vector<std::string> Days(const TPriceSeries& ASeries);
// A whole-day date from yyyy-mm-dd.
TDateTime Day(const std::string& AIso);

// Sets the TZ environment variable for the lifetime of the object.
class TTimeZoneScope {
public:
    explicit TTimeZoneScope(const char* AZone);
    ~TTimeZoneScope();
    TTimeZoneScope(const TTimeZoneScope&) = delete;
    TTimeZoneScope& operator=(const TTimeZoneScope&) = delete;

private:
    bool FHadValue = false;
    std::string FOldValue;
};

// Points the chart provider at ABaseUrl for the lifetime of the object.
class TQuoteHostScope {
public:
    explicit TQuoteHostScope(const std::string& ABaseUrl);
    ~TQuoteHostScope();
    TQuoteHostScope(const TQuoteHostScope&) = delete;
    TQuoteHostScope& operator=(const TQuoteHostScope&) = delete;
};

}  // namespace cotalys::test
