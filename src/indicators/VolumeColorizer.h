#pragma once

#include <string>
#include <vector>

#include "core/Core.h"
#include "indicators/Color.h"

namespace cotalys {

// How heavy a session's volume is against the average of the sessions before it; ordinals are
// the declared order.
enum class TVolumeLevel { vlNone, vlVeryLow, vlLow, vlNormal, vlHigh, vlVeryHigh };

// Ratios of volume to average volume; each bound belongs to the level above it.
struct TVolumeThresholds {
    double VeryLow = 0.5;
    double Low = 0.8;
    double High = 1.3;
    double VeryHigh = 2.0;

    static TVolumeThresholds Default() { return TVolumeThresholds{}; }
};

struct TVolumeColorScheme {
    TColor UpColor = ColorFromRGB(40, 160, 80);
    TColor DownColor = ColorFromRGB(214, 42, 42);
    TColor NeutralColor = ColorFromRGB(144, 144, 144);
    TColor Background = ColorFromRGB(255, 255, 255);

    static TVolumeColorScheme Default() { return TVolumeColorScheme{}; }
};

// Rates each bar's volume against the average of the FPeriod sessions before it and colours the
// bar: the hue says up or down, the intensity how heavy the volume was.
class TVolumeColorizer {
public:
    // Throws EIndicatorError "Periode de volume invalide : %d" when APeriod < 2.
    explicit TVolumeColorizer(int APeriod);

    // Fills every array from ASeries; the series is only read, not kept.
    void Compute(const TPriceSeries& ASeries);

    // The level of a bar; vlNone outside the computed bars.
    TVolumeLevel Level(int AIndex) const;
    // Volume over the average of the preceding sessions; NaN outside the bars or where the
    // average is missing or zero.
    double Ratio(int AIndex) const;
    // Fill colour: the up or down hue faded toward the background by the level, greyed for a bar
    // without volume; NeutralColor outside the computed bars.
    TColor BarColor(int AIndex) const;
    // A darker shade of the fill, for bar outlines.
    TColor OutlineColor(int AIndex) const;
    // "n/d", "tres faible", "faible", "normal", "eleve", "exceptionnel".
    static std::string LevelText(TVolumeLevel ALevel);

    int Period() const { return FPeriod; }
    const TVolumeThresholds& Thresholds() const { return FThresholds; }
    const TVolumeColorScheme& Scheme() const { return FScheme; }
    const std::vector<double>& Ratios() const { return FRatios; }
    // Simple average of the volumes of the FPeriod sessions ending at each bar (bar included).
    const std::vector<double>& Averages() const { return FAverages; }
    const std::vector<TVolumeLevel>& Levels() const { return FLevels; }
    const std::vector<bool>& Up() const { return FUp; }
    bool HasVolume() const { return FHasVolume; }

private:
    bool InRange(int AIndex) const;
    TVolumeLevel Classify(double ARatio) const;

    int FPeriod;
    TVolumeThresholds FThresholds;
    TVolumeColorScheme FScheme;
    std::vector<double> FRatios;
    std::vector<double> FAverages;
    std::vector<TVolumeLevel> FLevels;
    std::vector<bool> FUp;
    bool FHasVolume = false;
};

}  // namespace cotalys
