#include <gtest/gtest.h>

#include "ChartTestSupport.h"
#include "chart/ChartFormat.h"
#include "chart/ChartPalette.h"
#include "chart/ChartTexts.h"

namespace cotalys::test {
namespace {

const TFormatSettings FS = FrenchFormatSettings();

TEST(ChartFormatTest, VolumesAreShortenedByThousands) {
    struct TCase {
        double Value;
        const char* Text;
    };
    for (const TCase& c : {TCase{NaN, "-"}, TCase{0, "0"}, TCase{999, "999"}, TCase{1000, "1,0 k"},
                           TCase{1234567, "1,2 M"}, TCase{2.5e9, "2,5 Md"}}) {
        EXPECT_EQ(FormatChartVolume(c.Value, FS), c.Text) << c.Value;
    }
    EXPECT_EQ(FormatChartValue(NaN, "0.00", FS), "-");
    EXPECT_EQ(FormatChartValue(98.5, "0.00", FS), "98,50");
}

TEST(ChartMessageTest, SaysWhyNothingIsDrawn) {
    const TAnalysedSeries data(WaveSeries());
    TChartScene empty;
    TChartScene named;
    named.Message = "Serie vide";
    struct TCase {
        const TChartScene* Scene;
        int Width, Height;
        const char* Message;
    };
    const TChartScene scene = data.Scene();
    for (const TCase& c :
         {TCase{&empty, 800, 600, "Aucune donnee"}, TCase{&named, 800, 600, "Serie vide"},
          TCase{&named, 100, 100, "Serie vide"}, TCase{&scene, 800, 199, "Zone trop petite"},
          TCase{&scene, 199, 800, "Zone trop petite"}, TCase{&scene, 200, 200, ""}}) {
        EXPECT_EQ(ChartMessage(*c.Scene, c.Width, c.Height), c.Message)
            << c.Width << "x" << c.Height;
    }
}

TEST(HoverLineTest, ShowsTheHoveredBarWithDashesBeforeTheWarmUp) {
    const TAnalysedSeries data(SeriesFromCloses(std::vector<double>(60, 50.0), 1000));
    TChartScene scene = data.Scene();
    scene.HoverIndex = 3;  // Sunday 5 January 2025
    EXPECT_EQ(HoverLineText(scene, FS),
              "dim. 05/01/2025   O 50,00   H 50,00   B 50,00   C 50,00   Vol 1,0 k (normal)   "
              "MACD -   Sig -   RSI -");
    scene.HoverIndex = 59;
    EXPECT_EQ(HoverLineText(scene, FS),
              "dim. 02/03/2025   O 50,00   H 50,00   B 50,00   C 50,00   Vol 1,0 k (normal x1,0)   "
              "MACD 0,000   Sig 0,000   RSI 50,0");
}

TEST(HoverLineTest, AppendsTheSignalOfTheHoveredBar) {
    const TAnalysedSeries data(WaveSeries());
    TChartScene scene = data.Scene();
    TEntrySignal signal;
    signal.Index = 40;
    signal.Score = 3;
    signal.Contact = signal.RsiOK = signal.VolumeOK = true;
    signal.ZoneLabel = "S1";
    scene.Signals = {signal};
    scene.HoverIndex = 40;
    EXPECT_TRUE(
        HoverLineText(scene, FS).ends_with("   SIGNAL 3/4 sur S1 (support+ RSI+ MACD- volume+)"));
    scene.HoverIndex = 41;
    EXPECT_EQ(HoverLineText(scene, FS).find("SIGNAL"), std::string::npos);
}

TEST(HoverLineTest, WithoutHoverShowsTheSignalSummary) {
    const TAnalysedSeries data(WaveSeries());
    TChartScene scene = data.Scene(data.Series[30].Date);
    for (int hover : {-1, 29, 60}) {
        scene.HoverIndex = hover;
        EXPECT_EQ(HoverLineText(scene, FS), data.Analysis.SignalSummary(30)) << hover;
    }
}

TEST(ZoneLabelTest, NamesTheZoneItsRangeAndTouches) {
    EXPECT_EQ(ZoneLabelText(MakeZone(TZoneKind::zkInside, 98.5, 99.75, 1, 0, 3), FS),
              "S1*  98,50-99,75  (3)");
}

TEST(HistogramColorTest, StrengtheningIsDarkWeakeningLight) {
    namespace palette = chart_palette;
    struct TCase {
        double Value, Previous;
        TColor Color;
    };
    for (const TCase& c : {TCase{-0.125, -0.25, palette::HistogramDownWeak},
                           TCase{-0.25, -0.125, palette::HistogramDownStrong},
                           TCase{-0.25, -0.25, palette::HistogramDownStrong},
                           TCase{-0.25, NaN, palette::HistogramDownStrong},
                           TCase{0.25, NaN, palette::HistogramUpStrong},
                           TCase{0.25, 0.125, palette::HistogramUpStrong},
                           TCase{0.25, 0.25, palette::HistogramUpStrong},
                           TCase{0.125, 0.25, palette::HistogramUpWeak},
                           TCase{0, -0.5, palette::HistogramUpStrong}}) {
        EXPECT_EQ(palette::HistogramColor(c.Value, c.Previous), c.Color)
            << c.Value << " after " << c.Previous;
    }
}

}  // namespace
}  // namespace cotalys::test
