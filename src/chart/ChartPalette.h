#pragma once

#include "indicators/VolumeColors.h"

namespace cotalys::chart_palette {

// The chart's fixed colours; candle and volume colours come from the volume colorizer.
inline constexpr TColor Background = ColorFromRGB(255, 255, 255);
inline constexpr TColor PanelBorder = ColorFromRGB(176, 176, 176);
inline constexpr TColor Grid = ColorFromRGB(232, 232, 232);
inline constexpr TColor Label = ColorFromRGB(80, 80, 80);
inline constexpr TColor ResistanceFill = ColorFromRGB(250, 230, 230);
inline constexpr TColor ResistanceBorder = ColorFromRGB(200, 96, 96);
inline constexpr TColor SupportFill = ColorFromRGB(228, 244, 232);
inline constexpr TColor SupportBorder = ColorFromRGB(96, 160, 96);
inline constexpr TColor CompleteSignal = ColorFromRGB(0, 122, 0);
inline constexpr TColor PartialSignal = ColorFromRGB(224, 160, 0);
inline constexpr TColor VolumeAverage = ColorFromRGB(64, 64, 64);
inline constexpr TColor HistogramUpStrong = ColorFromRGB(80, 184, 112);
inline constexpr TColor HistogramUpWeak = ColorFromRGB(168, 220, 184);
inline constexpr TColor HistogramDownStrong = ColorFromRGB(224, 80, 80);
inline constexpr TColor HistogramDownWeak = ColorFromRGB(240, 176, 176);
inline constexpr TColor MACDLine = ColorFromRGB(32, 112, 208);
inline constexpr TColor SignalLine = ColorFromRGB(255, 140, 32);
inline constexpr TColor RSIBand = ColorFromRGB(245, 240, 250);
inline constexpr TColor RSIHigh = ColorFromRGB(224, 80, 80);
inline constexpr TColor RSILow = ColorFromRGB(80, 184, 112);
inline constexpr TColor RSILine = ColorFromRGB(140, 60, 160);
inline constexpr TColor Crosshair = ColorFromRGB(128, 128, 128);
inline constexpr TColor HoverText = ColorFromRGB(0, 0, 0);
inline constexpr TColor White = ColorFromRGB(255, 255, 255);

// Colour of a MACD histogram bar of AValue after APrevious (NaN for none): dark while momentum
// strengthens or on a first bar, light while it weakens; green at or above 0, red below.
TColor HistogramColor(double AValue, double APrevious);

}  // namespace cotalys::chart_palette
