#include "sizing/BrokerPlan.h"

#include <algorithm>

#include "core/Core.h"

namespace cotalys {
namespace {

constexpr TBrokerPlan BrokerPlans[] = {
    {TFeePlan::fpBoursoDecouverte, "BoursoBank Decouverte", 500, 1.99, 0.006},
    {TFeePlan::fpBoursoTrader, "BoursoBank Trader", 7750, 16.65, 0.0022},
    {TFeePlan::fpBoursoUltimate, "BoursoBank Ultimate Trader", 10000, 9.90, 0.0012},
};

// A PEA account caps the brokerage of an order at 0.5 % of it.
constexpr double PeaCapRate = 0.005;

}  // namespace

// The three entries of other markets can never match, since only ".PA" symbols are taxed; they
// stay so the list reads like the published one.
const std::array<std::string_view, 23> TTFExemptSymbols = {
    "AIR.PA", "MT.AS",   "ERF.PA", "ENX.PA",   "STLAP.PA", "STMPA.PA", "APAM.AS", "DBV.PA",
    "DBG.PA", "GNFT.PA", "IVA.PA", "MEDCL.PA", "MRN.PA",   "NANO.PA",  "PLX.PA",  "SESG.PA",
    "SOI.PA", "SOLB.BR", "TE.PA",  "UBI.PA",   "VLA.PA",   "VIRI.PA",  "WLN.PA"};

const TBrokerPlan* FindBrokerPlan(TFeePlan APlan) {
    const auto* found = std::find_if(std::begin(BrokerPlans), std::end(BrokerPlans),
                                     [&](const TBrokerPlan& P) { return P.Plan == APlan; });
    return found == std::end(BrokerPlans) ? nullptr : found;
}

std::string TSizingParams::PlanName(TFeePlan APlan) {
    const TBrokerPlan* plan = FindBrokerPlan(APlan);
    return plan != nullptr ? plan->Name : "frais personnalises";
}

double TSizingParams::Brokerage(double AAmount) const {
    if (AAmount <= 0) {
        return 0;
    }
    const TBrokerPlan* plan = FindBrokerPlan(FeePlan);
    const double fee = plan == nullptr            ? FeeFixed + FeePct / 100 * AAmount
                       : AAmount <= plan->BandTop ? plan->BandFee
                                                  : AAmount * plan->Rate;
    return IsPEA ? std::min(fee, AAmount * PeaCapRate) : fee;
}

bool IsSubjectToTTF(std::string_view ASymbol) {
    const std::string symbol = UpperAscii(TrimBlanks(ASymbol));
    return symbol.ends_with(".PA") && std::find(TTFExemptSymbols.begin(), TTFExemptSymbols.end(),
                                                symbol) == TTFExemptSymbols.end();
}

double TSizingParams::TTF(double AAmount, std::string_view ASymbol) const {
    return TTFPct > 0 && IsSubjectToTTF(ASymbol) ? TTFPct / 100 * AAmount : 0;
}

double TSizingParams::RoundTripFees(double ABuyAmount, double ASellAmount,
                                    std::string_view ASymbol) const {
    return Brokerage(ABuyAmount) + TTF(ABuyAmount, ASymbol) + Brokerage(ASellAmount);
}

}  // namespace cotalys
