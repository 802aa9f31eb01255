#pragma once

// The steps of the zone analysis, kept apart so each can be checked on its own.

#include <span>
#include <vector>

#include "zones/SupportResistanceAnalyzer.h"

namespace cotalys::zones {

using TPivot = TSupportResistanceAnalyzer::TPivot;

// Whether each bar is a daily swing low, and a swing high: strictly beyond the AWindow bars
// before, at least as far as the AWindow bars after (so of equal extremes the first counts).
// The AWindow bars at each end are neither.
void FindSwings(std::span<const TPriceBar> ABars, int AWindow, std::vector<char>& ASwingLow,
                std::vector<char>& ASwingHigh);

// The pivots of bar AIndex of ABars: its low when it is a swing low, then its high when it is a
// swing high. The turn is confirmed by volume when the bar or one of the next two (in ABars)
// traded at least AVolumeAverage, the volume average ending at the bar (NaN: not confirmed).
void AddPivots(std::span<const TPriceBar> ABars, int AIndex, double AVolumeAverage, bool ASwingLow,
               bool ASwingHigh, std::vector<TPivot>& APivots);
// Daily swing lows then highs of each bar from AWindow to the last but AWindow.
std::vector<TPivot> FindPivots(const std::vector<TPriceBar>& ABars, int AWindow,
                               const std::vector<double>& AVolumeAverage);

// The first bar of each ISO week of ABars, then ABars' size.
std::vector<int> WeekFirstBars(std::span<const TPriceBar> ABars);
// ABars folded into one weekly bar: first open, highest high, lowest low, last close, summed
// volume, dated by its last session.
TPriceBar WeeklyBar(std::span<const TPriceBar> ABars);
// One weekly bar per week of ABars, the weeks beginning at AFirstBars (as WeekFirstBars gives).
std::vector<TPriceBar> WeeklyBars(std::span<const TPriceBar> ABars,
                                  std::span<const int> AFirstBars);

// Whether each week is a weekly swing low, and a weekly swing high: no week among the AWindow on
// each side lower, or higher (ties do not disqualify). The AWindow weeks at each end are neither.
void FindWeeklySwings(std::span<const TPriceBar> AWeeks, int AWindow, std::vector<char>& ALow,
                      std::vector<char>& AHigh);
// Prices of the weekly swing lows and highs (each low before the high of its week). AKnownLow
// and AKnownHigh, when given, are the swings of the same weeks among whole weeks on both sides:
// they are read for every week but the two whose neighbours take in the first or the last week,
// which may be cut short and are judged afresh.
std::vector<double> WeeklyPivotPrices(const std::vector<TPriceBar>& AWeeks, int AWindow,
                                      std::span<const char> AKnownLow = {},
                                      std::span<const char> AKnownHigh = {});

// Counts the touches of a cluster at least AMinBarsBetween bars apart, with their volume
// confirmations, and sets the first and last touch indices. Sorts ACluster by bar index.
void CountTouches(TPriceZone& AZone, std::span<TPivot> ACluster, int AMinBarsBetween);

// Folds zones that overlap or touch (each one's top at or above the next one's bottom) into
// one, summing their counts and scores. AZones must come in ascending price order.
std::vector<TPriceZone> MergeZones(const std::vector<TPriceZone>& AZones);

// Sorts ascending zones into supports (holding or below AClose) and resistances (above), each
// nearest first and cut to AMaxPerSide, and sets kinds, ranks and the nearest indices.
void ClassifyZones(const std::vector<TPriceZone>& AZones, double AClose, int AMaxPerSide,
                   TSRResult& AResult);

}  // namespace cotalys::zones
