#include "core/PriceSeries.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

#include "core/Exceptions.h"
#include "core/Formatting.h"
#include "core/Numbers.h"

namespace cotalys {
namespace {

bool Missing(double AValue) {
    return std::isnan(AValue);
}
// Max and Min that propagate NaN, unlike std::max and std::min.
double MaxNaN(double A, double B) {
    return Missing(A) || Missing(B) ? NaN : (A > B ? A : B);
}
double MinNaN(double A, double B) {
    return Missing(A) || Missing(B) ? NaN : (A < B ? A : B);
}

}  // namespace

TPriceBar TPriceBar::New(TDateTime ADate, double AOpen, double AHigh, double ALow, double AClose,
                         std::int64_t AVolume) {
    return TPriceBar{std::trunc(ADate), AOpen, AHigh, ALow, AClose, AVolume};
}

bool TPriceBar::IsUp() const {
    return !Missing(Close) && !Missing(Open) && Close >= Open;
}

void TPriceBar::Normalize() {
    if (Missing(Open) || Open <= 0) {
        Open = Close;
    }
    if (Missing(High) || High <= 0) {
        High = MaxNaN(Open, Close);
    }
    if (Missing(Low) || Low <= 0) {
        Low = MinNaN(Open, Close);
    }
    High = MaxNaN(High, MaxNaN(Open, Close));
    Low = MinNaN(Low, MinNaN(Open, Close));
    if (Volume < 0) {
        Volume = 0;
    }
}

bool TPriceBar::IsValid(std::string& AReason) const {
    AReason.clear();
    if (!(Date >= UnixDateDelta)) {
        AReason = "date invalide";
    } else if (!std::isfinite(Close) || Close <= 0) {
        AReason = "cours de cloture absent ou non positif";
    } else if (Open > MaximumPrice || High > MaximumPrice || Low > MaximumPrice ||
               Close > MaximumPrice) {
        AReason = "prix aberrant";
    } else if (Missing(High) || Missing(Low) || Missing(Open)) {
        AReason = "valeur OHL manquante";
    } else if (Low > High) {
        AReason = Format("plus bas (%g) superieur au plus haut (%g)", Low, High);
    } else if (Close > High * 1.0001 || Close < Low * 0.9999) {
        AReason = "cloture hors de la fourchette haut/bas";
    } else if (Volume < 0) {
        AReason = "volume negatif";
    }
    return AReason.empty();
}

TPriceBar TPriceSeries::GetBar(int AIndex) const {
    if (AIndex < 0 || AIndex >= Count()) {
        throw std::out_of_range("Index de barre hors limites (" + std::to_string(AIndex) + ")");
    }
    return FBars[static_cast<std::size_t>(AIndex)];
}

TPriceBar TPriceSeries::First() const {
    if (FBars.empty()) {
        throw EFinanceError("Serie vide");
    }
    return FBars.front();
}

TPriceBar TPriceSeries::Last() const {
    if (FBars.empty()) {
        throw EFinanceError("Serie vide");
    }
    return FBars.back();
}

void TPriceSeries::DeleteFirst(int ACount) {
    if (ACount <= 0) {
        return;
    }
    const auto n = std::min<std::size_t>(static_cast<std::size_t>(ACount), FBars.size());
    FBars.erase(FBars.begin(), FBars.begin() + static_cast<std::ptrdiff_t>(n));
}

TPriceSeries TPriceSeries::Between(TDateTime AFirst, TDateTime ALast) const {
    const double first = std::trunc(AFirst);
    const double last = std::trunc(ALast);
    TPriceSeries result(FSymbol);
    result.FName = FName;
    result.FCurrency = FCurrency;
    const auto from = FBars.begin() + IndexOfFirstOnOrAfter(first);
    const auto to =
        std::upper_bound(from, FBars.end(), last,
                         [](double ADay, const TPriceBar& ABar) { return ADay < ABar.Date; });
    result.FBars.assign(from, to);
    for (const TDividend& dividend : FDividends) {
        if (dividend.Date >= first && dividend.Date <= last) {
            result.FDividends.push_back(dividend);
        }
    }
    return result;
}

void TPriceSeries::AddDividend(TDateTime ADate, double AAmount) {
    if (Missing(AAmount) || AAmount <= 0) {
        return;
    }
    FDividends.push_back({std::trunc(ADate), AAmount});
}

double TPriceSeries::TrailingYieldPct(TDateTime AAsOf, double APrice) const {
    if (Missing(APrice) || APrice <= 0) {
        return NaN;
    }
    const double day = std::trunc(AAsOf);
    double sum = 0;
    bool any = false;
    for (const auto& dividend : FDividends) {
        if (dividend.Date > day - 365 && dividend.Date <= day) {
            sum += dividend.Amount;
            any = true;
        }
    }
    if (any) {
        return sum / APrice * 100;
    }
    return FDividends.empty() ? NaN : 0.0;
}

void TPriceSeries::SortAndDeduplicate() {
    // The map keeps the last bar listed for each day and hands them back in day order.
    std::map<int, TPriceBar> byDay;
    for (const auto& bar : FBars) {
        byDay[DayOf(bar.Date)] = bar;
    }
    std::vector<TPriceBar> sorted;
    sorted.reserve(byDay.size());
    for (const auto& entry : byDay) {
        sorted.push_back(entry.second);
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TPriceBar& A, const TPriceBar& B) { return A.Date < B.Date; });
    FBars = std::move(sorted);
}

int TPriceSeries::IndexOfFirstOnOrAfter(TDateTime ADate) const {
    const double day = std::trunc(ADate);
    int lo = 0;
    int hi = Count() - 1;
    int result = Count();
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        if (FBars[static_cast<std::size_t>(mid)].Date >= day) {
            result = mid;
            hi = mid - 1;
        } else {
            lo = mid + 1;
        }
    }
    return result;
}

std::vector<double> TPriceSeries::Closes() const {
    std::vector<double> values;
    values.reserve(FBars.size());
    for (const auto& bar : FBars) {
        values.push_back(bar.Close);
    }
    return values;
}

std::vector<double> TPriceSeries::Volumes() const {
    std::vector<double> values;
    values.reserve(FBars.size());
    for (const auto& bar : FBars) {
        values.push_back(static_cast<double>(bar.Volume));
    }
    return values;
}

bool TPriceSeries::HasVolume() const {
    return std::any_of(FBars.begin(), FBars.end(),
                       [](const TPriceBar& ABar) { return ABar.Volume > 0; });
}

}  // namespace cotalys
