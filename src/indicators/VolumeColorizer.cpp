#include "indicators/VolumeColorizer.h"

#include <cmath>

#include "core/Core.h"
#include "indicators/MovingAverages.h"

namespace cotalys {

namespace {

// Share of the hue kept for a bar without volume information: a greyed version of it.
constexpr double NoVolumeHueWeight = 0.6;
// Share of the fill kept in the outline: a darker shade of the same colour.
constexpr double OutlineFillWeight = 0.65;
constexpr TColor Black = ColorFromRGB(0, 0, 0);

double Intensity(TVolumeLevel ALevel) {
    switch (ALevel) {
        case TVolumeLevel::vlVeryLow:
            return 0.25;
        case TVolumeLevel::vlLow:
            return 0.45;
        case TVolumeLevel::vlHigh:
            return 0.88;
        case TVolumeLevel::vlVeryHigh:
            return 1.00;
        case TVolumeLevel::vlNormal:
        case TVolumeLevel::vlNone:
            break;
    }
    return 0.70;
}

}  // namespace

TVolumeColorizer::TVolumeColorizer(int APeriod) : FPeriod(APeriod) {
    if (APeriod < 2) {
        throw EIndicatorError(Format("Periode de volume invalide : %d", APeriod));
    }
}

void TVolumeColorizer::Compute(const TPriceSeries& ASeries) {
    const int n = ASeries.Count();
    const std::vector<double> volumes = ASeries.Volumes();
    FHasVolume = ASeries.HasVolume();
    FAverages = ComputeSMA(volumes, FPeriod);
    FRatios = NaNArray(n);
    FLevels.assign(n, TVolumeLevel::vlNone);
    FUp.assign(n, false);
    const std::vector<TPriceBar>& bars = ASeries.Bars();
    for (int i = 0; i < n; ++i) {
        FUp[i] = bars[i].IsUp();
        if (!FHasVolume || volumes[i] == 0) {
            continue;
        }
        // The reference is the average of the sessions before the bar, the bar itself excluded,
        // so a heavy session is not diluted into its own yardstick.
        const double prior = i > 0 ? FAverages[i - 1] : NaN;
        if (std::isnan(prior) || IsNearZero(prior)) {
            FLevels[i] = TVolumeLevel::vlNormal;
            continue;
        }
        FRatios[i] = volumes[i] / prior;
        FLevels[i] = Classify(FRatios[i]);
    }
}

TVolumeLevel TVolumeColorizer::Classify(double ARatio) const {
    if (ARatio < FThresholds.VeryLow) {
        return TVolumeLevel::vlVeryLow;
    }
    if (ARatio < FThresholds.Low) {
        return TVolumeLevel::vlLow;
    }
    if (ARatio < FThresholds.High) {
        return TVolumeLevel::vlNormal;
    }
    return ARatio < FThresholds.VeryHigh ? TVolumeLevel::vlHigh : TVolumeLevel::vlVeryHigh;
}

bool TVolumeColorizer::InRange(int AIndex) const {
    return AIndex >= 0 && AIndex < static_cast<int>(FLevels.size());
}

TVolumeLevel TVolumeColorizer::Level(int AIndex) const {
    return InRange(AIndex) ? FLevels[AIndex] : TVolumeLevel::vlNone;
}

double TVolumeColorizer::Ratio(int AIndex) const {
    return InRange(AIndex) ? FRatios[AIndex] : NaN;
}

TColor TVolumeColorizer::BarColor(int AIndex) const {
    if (!InRange(AIndex)) {
        return FScheme.NeutralColor;
    }
    const TColor base = FUp[AIndex] ? FScheme.UpColor : FScheme.DownColor;
    const TVolumeLevel level = FLevels[AIndex];
    if (level == TVolumeLevel::vlNone) {
        return BlendColors(base, FScheme.NeutralColor, NoVolumeHueWeight);
    }
    return BlendColors(base, FScheme.Background, Intensity(level));
}

TColor TVolumeColorizer::OutlineColor(int AIndex) const {
    return BlendColors(BarColor(AIndex), Black, OutlineFillWeight);
}

std::string TVolumeColorizer::LevelText(TVolumeLevel ALevel) {
    switch (ALevel) {
        case TVolumeLevel::vlVeryLow:
            return "tres faible";
        case TVolumeLevel::vlLow:
            return "faible";
        case TVolumeLevel::vlNormal:
            return "normal";
        case TVolumeLevel::vlHigh:
            return "eleve";
        case TVolumeLevel::vlVeryHigh:
            return "exceptionnel";
        case TVolumeLevel::vlNone:
            break;
    }
    return "n/d";
}

}  // namespace cotalys
