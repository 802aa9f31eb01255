#include "signals/StandardVariants.h"

#include <functional>

namespace cotalys {

std::vector<TSignalParams> StandardVariants() {
    struct TVariant {
        const char* Name;
        std::function<void(TSignalParams&)> Change;
    };
    static const TVariant variants[] = {
        {"RSI obligatoire (defaut)", [](TSignalParams&) {}},
        {"Ancien reglage 3/4", [](TSignalParams& p) { p.RequireRsi = false; }},
        {"4/4 seulement", [](TSignalParams& p) { p.MinScore = 4; }},
        {"RSI oblig. + zones solides", [](TSignalParams& p) { p.StrongZonesOnly = true; }},
        {"RSI oblig. + MACD > 0", [](TSignalParams& p) { p.RequireMacdPositive = true; }},
        {"RSI oblig. + marche > MM50", [](TSignalParams& p) { p.RequireMarketUptrend = true; }},
        {"RSI oblig. + G/R >= 1,5", [](TSignalParams& p) { p.MinRewardRisk = 1.5; }},
        {"RSI oblig. + marge R >= 5 %", [](TSignalParams& p) { p.MinMarginPct = 5.0; }},
        {"RSI oblig. + < 10 % du plus haut", [](TSignalParams& p) { p.MaxDistHighPct = 10.0; }},
        {"RSI oblig. + phase CAC favorable",
         [](TSignalParams& p) { p.RequireFavorablePhase = true; }},
    };
    std::vector<TSignalParams> result;
    for (const TVariant& variant : variants) {
        TSignalParams params = TSignalParams::Default();
        variant.Change(params);
        params.Name = variant.Name;
        result.push_back(params);
    }
    return result;
}

}  // namespace cotalys
