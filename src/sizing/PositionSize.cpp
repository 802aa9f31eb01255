#include "sizing/PositionSize.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Core.h"

namespace cotalys {
namespace {

// Far beyond any real order, and low enough that the search's doubling steps cannot overflow.
constexpr std::int64_t CountCeiling = std::int64_t{1} << 62;

// trunc(AValue) as a share count: 0 below one share or for NaN, at most CountCeiling, so a
// huge capital at a tiny price never overflows the integer conversion.
std::int64_t TruncCount(double AValue) {
    if (!(AValue >= 1)) {
        return 0;
    }
    if (AValue >= static_cast<double>(CountCeiling)) {
        return CountCeiling;
    }
    return static_cast<std::int64_t>(AValue);
}

// The largest count in [0, AUpper] whose cost stays within ALimit, for a cost that never
// decreases as the count grows and is 0 for no share. Stepping down one share at a time from
// AUpper could take billions of passes (a large capital at a tiny price), so the first step is
// estimated from the overshoot with AMarginal as the cost of one share, then a search that
// doubles its step from that guess, and a bisection, find the exact count in a few dozen passes
// at most, however far off the guess is.
template <class TCost>
std::int64_t LargestCountWithin(std::int64_t AUpper, double ALimit, double AMarginal,
                                const TCost& ACost) {
    if (AUpper <= 0) {
        return 0;
    }
    const double topCost = ACost(AUpper);
    if (topCost <= ALimit) {
        return AUpper;
    }
    const auto fits = [&](std::int64_t ACount) { return ACost(ACount) <= ALimit; };
    std::int64_t lo = 0;       // fits
    std::int64_t hi = AUpper;  // does not fit
    const std::int64_t step = std::max<std::int64_t>(1, TruncCount((topCost - ALimit) / AMarginal));
    const std::int64_t guess = hi - std::min(step, hi);
    if (guess > lo) {
        if (fits(guess)) {
            lo = guess;
        } else {
            hi = guess;
        }
    }
    const bool upward = lo == guess;
    for (std::int64_t width = 1; width < hi - lo; width *= 2) {
        const std::int64_t probe = upward ? lo + width : hi - width;
        const bool probeFits = fits(probe);
        if (probeFits) {
            lo = probe;
        } else {
            hi = probe;
        }
        if (probeFits != upward) {
            break;
        }
    }
    while (hi - lo > 1) {
        const std::int64_t middle = lo + (hi - lo) / 2;
        if (fits(middle)) {
            lo = middle;
        } else {
            hi = middle;
        }
    }
    return lo;
}

}  // namespace

std::string TPositionSize::LimitText() const {
    switch (Limit) {
        case TSizingLimit::slRisk:
            return "risque";
        case TSizingLimit::slMaxPosition:
            return "plafond de position";
        case TSizingLimit::slCapital:
            return "capital";
        case TSizingLimit::slTooSmall:
            return "risque trop faible pour un titre";
        default:
            return "stop invalide";
    }
}

std::string TPositionSize::Describe() const {
    if (!Valid) {
        return "Taille de position : " + LimitText();
    }
    const TFormatSettings fs = FrenchFormatSettings();
    return Format(
        "Taille de position : %d titre(s), %s EUR (%s %% du capital), perte prevue au stop %s EUR "
        "(%s %% du capital, frais et glissement compris), limite : %s",
        Shares, FormatFloat("#,##0", Amount, fs), FormatFloat("0.0", PctOfCapital, fs),
        FormatFloat("#,##0", RiskAmount, fs), FormatFloat("0.00", RiskPctOfCapital, fs),
        LimitText());
}

TPositionSize ComputePositionSize(const TSizingParams& ASizing, double AEntry, double AStop,
                                  std::string_view ASymbol) {
    TPositionSize result;
    result.Limit = TSizingLimit::slInvalid;
    // A long trade needs a stop strictly below the entry.
    if (std::isnan(AEntry) || std::isnan(AStop) || AEntry <= 0 || AStop <= 0 || AStop >= AEntry) {
        return result;
    }
    ASizing.Validate();

    const double budget = ASizing.Capital * ASizing.RiskPct / 100;
    const double riskPerShare = (AEntry - AStop) * ASizing.SlippageFactor;
    const auto lossAtStop = [&](std::int64_t ACount) {
        const double count = static_cast<double>(ACount);
        return count * riskPerShare + ASizing.RoundTripFees(count * AEntry, count * AStop, ASymbol);
    };
    // The estimate reckons a share's fees at 1 % of the entry.
    const std::int64_t riskSize = LargestCountWithin(TruncCount(budget / riskPerShare), budget,
                                                     riskPerShare + AEntry * 0.01, lossAtStop);

    const std::int64_t maxPosition =
        TruncCount(ASizing.Capital * ASizing.MaxPositionPct / 100 / AEntry);

    // The purchase and its costs must fit in the whole capital; the amount already invested is
    // left to the portfolio selection.
    const auto purchaseCost = [&](std::int64_t ACount) {
        const double amount = static_cast<double>(ACount) * AEntry;
        return amount + ASizing.Brokerage(amount) + ASizing.TTF(amount, ASymbol);
    };
    const std::int64_t maxCapital = LargestCountWithin(TruncCount(ASizing.Capital / AEntry),
                                                       ASizing.Capital, AEntry, purchaseCost);

    // On equality the earlier limit is reported.
    std::int64_t shares = riskSize;
    TSizingLimit limit = TSizingLimit::slRisk;
    if (maxPosition < shares) {
        shares = maxPosition;
        limit = TSizingLimit::slMaxPosition;
    }
    if (maxCapital < shares) {
        shares = maxCapital;
        limit = TSizingLimit::slCapital;
    }
    const std::int64_t lot = ASizing.LotSize;
    shares = std::min<std::int64_t>(shares, std::numeric_limits<std::int32_t>::max()) / lot * lot;
    if (shares <= 0) {
        result.Limit = TSizingLimit::slTooSmall;
        return result;
    }

    const double count = static_cast<double>(shares);
    result.Valid = true;
    result.Shares = static_cast<std::int32_t>(shares);
    result.Amount = count * AEntry;
    result.PctOfCapital = result.Amount / ASizing.Capital * 100;
    result.RiskPerShare = riskPerShare;
    result.Fees = ASizing.RoundTripFees(result.Amount, count * AStop, ASymbol);
    result.RiskAmount = count * riskPerShare + result.Fees;
    result.RiskPctOfCapital = result.RiskAmount / ASizing.Capital * 100;
    result.Limit = limit;
    return result;
}

}  // namespace cotalys
