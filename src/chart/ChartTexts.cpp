#include "chart/ChartTexts.h"

#include <cmath>

#include "chart/ChartFormat.h"

namespace cotalys {

namespace {

constexpr int MinRenderSize = 200;

// "eleve x1,6": the volume level and, when known, the ratio to the average.
std::string VolumeText(const TVolumeColorizer& AColorizer, int AIndex, const TFormatSettings& AFS) {
    std::string text = TVolumeColorizer::LevelText(AColorizer.Level(AIndex));
    const double ratio = AColorizer.Ratio(AIndex);
    if (!std::isnan(ratio)) {
        text += " x" + FormatChartValue(ratio, "0.0", AFS);
    }
    return text;
}

std::string BarText(const TChartScene& AScene, int AIndex, const TFormatSettings& AFS) {
    const TPriceBar& bar = AScene.Series->Bars()[AIndex];
    const TTechnicalAnalysis& analysis = *AScene.Analysis;
    const auto number = [&AFS](double AValue, std::string_view APattern) {
        return FormatChartValue(AValue, APattern, AFS);
    };
    std::string text =
        Format("%s   O %s   H %s   B %s   C %s   Vol %s (%s)   MACD %s   Sig %s   RSI %s",
               FormatDateTime("ddd dd/mm/yyyy", bar.Date, AFS), number(bar.Open, "0.00"),
               number(bar.High, "0.00"), number(bar.Low, "0.00"), number(bar.Close, "0.00"),
               FormatChartVolume(static_cast<double>(bar.Volume), AFS),
               VolumeText(*AScene.Colorizer, AIndex, AFS),
               number(ValueAt(analysis.MACD().MACD, AIndex), "0.000"),
               number(ValueAt(analysis.MACD().Signal, AIndex), "0.000"),
               number(ValueAt(analysis.RSI(), AIndex), "0.0"));
    if (const TEntrySignal* signal = AScene.FindSignal(AIndex)) {
        text += Format("   SIGNAL %d/4 sur %s (%s)", signal->Score, signal->ZoneLabel,
                       signal->Conditions());
    }
    return text;
}

}  // namespace

std::string ChartMessage(const TChartScene& AScene, int AWidth, int AHeight) {
    if (!AScene.HasData()) {
        return AScene.Message.empty() ? "Aucune donnee" : AScene.Message;
    }
    if (AWidth < MinRenderSize || AHeight < MinRenderSize) {
        return "Zone trop petite";
    }
    return "";
}

std::string HoverLineText(const TChartScene& AScene, const TFormatSettings& AFS) {
    if (AScene.HoverIndex < AScene.First || AScene.HoverIndex > AScene.Last) {
        return AScene.Analysis->SignalSummary(AScene.First);
    }
    return BarText(AScene, AScene.HoverIndex, AFS);
}

std::string ZoneLabelText(const TPriceZone& AZone, const TFormatSettings& AFS) {
    return Format("%s  %s-%s  (%d)", AZone.Lab(), FormatChartValue(AZone.Bottom, "0.00", AFS),
                  FormatChartValue(AZone.Top, "0.00", AFS), AZone.Touches);
}

}  // namespace cotalys
