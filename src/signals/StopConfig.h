#pragma once

#include <string>

namespace cotalys {

// How a protective stop is tested; ordinals are the declared order.
enum class TStopMode {
    smIntraday,  // hit when a session's low reaches the stop
    smClose      // hit when a session closes at or below the stop
};

// "en seance" or "sur cloture", as the reports name the mode.
std::string StopModeName(TStopMode AMode);

// A named stop setting: the stop sits AtrMult ATR below the support zone's bottom.
struct TStopConfig {
    std::string Name;
    double AtrMult = 0;  // negative: no stop at all
    TStopMode Mode = TStopMode::smIntraday;

    static TStopConfig Make(const std::string& AName, double AAtrMult, TStopMode AMode);
};

}  // namespace cotalys
