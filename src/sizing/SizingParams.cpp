#include "sizing/SizingParams.h"

#include <cmath>

#include "core/Core.h"
#include "sizing/BrokerPlan.h"

namespace cotalys {
namespace {

void Require(bool AHolds, const char* AMessage) {
    if (!AHolds) {
        throw EFinanceError(AMessage);
    }
}

}  // namespace

TSizingParams TSizingParams::Default() {
    return TSizingParams{};
}

// Each rule is written so that NaN breaks it. An infinite capital or fixed fee is refused too:
// no order can be sized against it.
void TSizingParams::Validate() const {
    Require(Capital > 0 && std::isfinite(Capital), "Capital strictement positif requis");
    Require(RiskPct > 0 && RiskPct <= 10, "Risque par position entre 0 et 10 % du capital");
    Require(MaxPositionPct > 0 && MaxPositionPct <= 100,
            "Poids maximal entre 0 et 100 % du capital");
    Require(SlippageFactor >= 1 && SlippageFactor <= 5, "Facteur de glissement entre 1 et 5");
    Require(FeeFixed >= 0 && std::isfinite(FeeFixed) && FeePct >= 0 && FeePct <= 5,
            "Frais invalides");
    Require(LotSize >= 1, "Quotite minimale : 1");
    Require(MaxPositions >= 1 && MaxPositions <= 50, "Nombre maximal de positions entre 1 et 50");
    Require(RiskPct <= MaxTotalRiskPct && MaxTotalRiskPct <= 30,
            "Risque total maximal entre le risque par position et 30 %");
    Require(OpenPositions >= 0 && OpenRiskPct >= 0 && InvestedAmount >= 0,
            "Positions ouvertes, risque engage et montant investi positifs ou nuls");
    Require(InvestedAmount <= Capital, "Montant investi superieur au capital");
    Require(TTFPct >= 0 && TTFPct <= 2, "TTF entre 0 et 2 %");
}

std::string TSizingParams::Summary() const {
    const TFormatSettings fs = FrenchFormatSettings();
    std::string fees =
        FindBrokerPlan(FeePlan) != nullptr
            ? PlanName(FeePlan)
            : Format("frais %s EUR + %s %% par ordre", FormatFloat("0.00", FeeFixed, fs),
                     FormatFloat("0.00#", FeePct, fs));
    if (IsPEA) {
        fees += " en PEA (courtage plafonne a 0,5 %)";
    }
    fees += Format(", TTF %s %% a l'achat des titres concernes", FormatFloat("0.0#", TTFPct, fs));
    if (OnlyFavorablePhase) {
        fees += ", signaux retenus seulement en phase favorable du CAC 40";
    }
    return Format(
        "capital %s EUR, risque %s %% par position (%s EUR), position max %s %%, glissement x%s, "
        "%s | portefeuille : %d position(s) max, risque total max %s %%, deja ouvert : %d "
        "position(s), %s %% de risque, %s EUR investis",
        FormatFloat("#,##0", Capital, fs), FormatFloat("0.0#", RiskPct, fs),
        FormatFloat("#,##0", Capital * RiskPct / 100, fs), FormatFloat("0", MaxPositionPct, fs),
        FormatFloat("0.00", SlippageFactor, fs), fees, MaxPositions,
        FormatFloat("0.0#", MaxTotalRiskPct, fs), OpenPositions,
        FormatFloat("0.0#", OpenRiskPct, fs), FormatFloat("#,##0", InvestedAmount, fs));
}

}  // namespace cotalys
