#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/DateTime.h"

namespace cotalys {

struct TPriceBar {
    // Highest price a bar may hold: anything above comes from a broken source.
    static constexpr double MaximumPrice = 1e9;

    TDateTime Date = 0;
    double Open = 0;  // NaN when the source had none
    double High = 0;  // NaN when the source had none
    double Low = 0;   // NaN when the source had none
    double Close = 0;
    std::int64_t Volume = 0;

    // A bar on the day of ADate (time of day dropped); nothing is checked.
    static TPriceBar New(TDateTime ADate, double AOpen, double AHigh, double ALow, double AClose,
                         std::int64_t AVolume);
    // Close >= Open; false when either is NaN.
    bool IsUp() const;
    // Fills missing open/high/low from the close and widens high/low to hold open and close.
    void Normalize();
    // True when acceptable; otherwise false with the French reason in AReason.
    bool IsValid(std::string& AReason) const;
};

struct TDividend {
    TDateTime Date = 0;
    double Amount = 0;
};

// The daily history of one symbol. Order and uniqueness are established by the providers.
class TPriceSeries {
public:
    explicit TPriceSeries(std::string ASymbol) : FSymbol(std::move(ASymbol)) {}

    const std::string& Symbol() const { return FSymbol; }
    void SetSymbol(const std::string& AValue) { FSymbol = AValue; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& AValue) { FName = AValue; }
    const std::string& Currency() const { return FCurrency; }
    void SetCurrency(const std::string& AValue) { FCurrency = AValue; }

    int Count() const { return static_cast<int>(FBars.size()); }
    // Copy of the bar at AIndex; std::out_of_range outside 0 .. Count - 1.
    TPriceBar GetBar(int AIndex) const;
    TPriceBar operator[](int AIndex) const { return GetBar(AIndex); }
    // Read-only view of every bar, for loops that must not copy.
    const std::vector<TPriceBar>& Bars() const { return FBars; }
    // First / last bar; EFinanceError "Serie vide" when empty.
    TPriceBar First() const;
    TPriceBar Last() const;

    void Add(const TPriceBar& ABar) { FBars.push_back(ABar); }
    // Removes the bars; dividends, symbol, name and currency stay.
    void Clear() { FBars.clear(); }
    // Removes the first min(ACount, Count) bars when ACount > 0.
    void DeleteFirst(int ACount);
    // A copy holding the bars and dividends dated from AFirst's day to ALast's day, as a load of
    // that stretch would give them.
    TPriceSeries Between(TDateTime AFirst, TDateTime ALast) const;

    // Ignored when AAmount is NaN or <= 0.
    void AddDividend(TDateTime ADate, double AAmount);
    void ClearDividends() { FDividends.clear(); }
    int DividendCount() const { return static_cast<int>(FDividends.size()); }
    const std::vector<TDividend>& Dividends() const { return FDividends; }
    // Dividends of the 365 days ending on AAsOf over APrice, in percent; NaN when the series
    // has no dividend at all or APrice is not positive, 0 when none fell in the window.
    double TrailingYieldPct(TDateTime AAsOf, double APrice) const;

    // One bar per day (the last one listed wins), in ascending date order.
    void SortAndDeduplicate();
    // Index of the first bar on or after ADate's day; Count when there is none.
    int IndexOfFirstOnOrAfter(TDateTime ADate) const;

    std::vector<double> Closes() const;
    std::vector<double> Volumes() const;
    bool HasVolume() const;

private:
    std::string FSymbol;
    std::string FName;
    std::string FCurrency;
    std::vector<TPriceBar> FBars;
    std::vector<TDividend> FDividends;
};

}  // namespace cotalys
