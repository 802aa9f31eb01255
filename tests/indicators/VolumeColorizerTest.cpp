#include <gtest/gtest.h>

#include "indicators/VolumeColors.h"
#include "support/AnalysisTestSupport.h"

namespace cotalys {
namespace {

using test::ExpectIndicatorError;
using test::SeriesFromBars;
using test::TBarSpec;

struct TRGB {
    int R, G, B;
};

void ExpectColor(TColor AActual, TRGB AExpected) {
    EXPECT_EQ(RedOf(AActual), AExpected.R);
    EXPECT_EQ(GreenOf(AActual), AExpected.G);
    EXPECT_EQ(BlueOf(AActual), AExpected.B);
}

TBarSpec Bar(bool AUp, std::int64_t AVolume) {
    return AUp ? TBarSpec{10, 11, 10, 11, AVolume} : TBarSpec{11, 11, 10, 10, AVolume};
}

// Volumes of the 20 sessions before bar 20 are all 1000, so bar 20's ratio is its volume / 1000.
TPriceSeries TwentyThenOne(std::int64_t ALastVolume) {
    std::vector<TBarSpec> bars(20, Bar(true, 1000));
    bars.push_back(Bar(true, ALastVolume));
    return SeriesFromBars(bars);
}

TEST(VolumeColorizer, RejectsPeriodBelowTwo) {
    ExpectIndicatorError([] { TVolumeColorizer colorizer(1); }, "Periode de volume invalide : 1");
    EXPECT_NO_THROW(TVolumeColorizer colorizer(2));
}

TEST(VolumeColorizer, ThresholdsBelongToTheLevelAbove) {
    const struct {
        std::int64_t Volume;
        TVolumeLevel Level;
    } cases[] = {
        {499, TVolumeLevel::vlVeryLow}, {500, TVolumeLevel::vlLow},
        {799, TVolumeLevel::vlLow},     {800, TVolumeLevel::vlNormal},
        {1299, TVolumeLevel::vlNormal}, {1300, TVolumeLevel::vlHigh},
        {1999, TVolumeLevel::vlHigh},   {2000, TVolumeLevel::vlVeryHigh},
    };
    for (const auto& c : cases) {
        TVolumeColorizer colorizer(20);
        colorizer.Compute(TwentyThenOne(c.Volume));
        EXPECT_EQ(colorizer.Level(20), c.Level) << c.Volume;
        EXPECT_DOUBLE_EQ(colorizer.Ratio(20), c.Volume / 1000.0);
    }
}

TEST(VolumeColorizer, WarmUpBarsAreNormalWithoutRatio) {
    TVolumeColorizer colorizer(20);
    colorizer.Compute(TwentyThenOne(1000));
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(colorizer.Level(i), TVolumeLevel::vlNormal) << i;
        EXPECT_TRUE(std::isnan(colorizer.Ratio(i))) << i;
    }
    EXPECT_EQ(colorizer.Ratio(20), 1.0);
    EXPECT_TRUE(std::isnan(colorizer.Averages()[18]));
    EXPECT_EQ(colorizer.Averages()[19], 1000);
}

TEST(VolumeColorizer, ZeroVolumes) {
    TVolumeColorizer colorizer(2);
    // A zero-volume bar has no level but still weighs 0 in the following averages; a bar after
    // two silent sessions has no yardstick and stays normal.
    colorizer.Compute(SeriesFromBars({Bar(true, 1000), Bar(true, 0), Bar(true, 1000), Bar(true, 0),
                                      Bar(true, 0), Bar(true, 7)}));
    EXPECT_EQ(colorizer.Level(1), TVolumeLevel::vlNone);
    EXPECT_EQ(colorizer.Ratio(2), 2.0);
    EXPECT_EQ(colorizer.Level(2), TVolumeLevel::vlVeryHigh);
    EXPECT_EQ(colorizer.Level(5), TVolumeLevel::vlNormal);
    EXPECT_TRUE(std::isnan(colorizer.Ratio(5)));
}

TEST(VolumeColorizer, SeriesWithoutVolumeIsGreyed) {
    TVolumeColorizer colorizer(2);
    colorizer.Compute(SeriesFromBars({Bar(true, 0), Bar(false, 0), Bar(true, 0), Bar(true, 0)}));
    EXPECT_FALSE(colorizer.HasVolume());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(colorizer.Level(i), TVolumeLevel::vlNone);
        EXPECT_TRUE(std::isnan(colorizer.Ratio(i)));
    }
    ExpectColor(colorizer.BarColor(0), {82, 154, 106});
    ExpectColor(colorizer.BarColor(1), {186, 83, 83});
}

TEST(VolumeColorizer, ColourTableWithDefaults) {
    // Groups of two 1000-volume sessions then the bar under test, so each tested bar is rated
    // against an average of exactly 1000 with a period of 2.
    const struct {
        std::int64_t Volume;
        TVolumeLevel Level;
        TRGB UpFill, DownFill, UpOutline;
    } rows[] = {
        {300, TVolumeLevel::vlVeryLow, {201, 231, 211}, {245, 202, 202}, {131, 150, 137}},
        {600, TVolumeLevel::vlLow, {158, 212, 176}, {237, 159, 159}, {103, 138, 114}},
        {1000, TVolumeLevel::vlNormal, {105, 188, 132}, {226, 106, 106}, {68, 122, 86}},
        {1500, TVolumeLevel::vlHigh, {66, 171, 101}, {219, 68, 68}, {43, 111, 66}},
        {2500, TVolumeLevel::vlVeryHigh, {40, 160, 80}, {214, 42, 42}, {26, 104, 52}},
        {0, TVolumeLevel::vlNone, {82, 154, 106}, {186, 83, 83}, {53, 100, 69}},
    };
    std::vector<TBarSpec> bars;
    for (const auto& row : rows) {
        for (bool up : {true, false}) {
            bars.push_back(Bar(up, 1000));
            bars.push_back(Bar(up, 1000));
            bars.push_back(Bar(up, row.Volume));
        }
    }
    TVolumeColorizer colorizer(2);
    colorizer.Compute(SeriesFromBars(bars));
    int index = 2;
    for (const auto& row : rows) {
        SCOPED_TRACE(TVolumeColorizer::LevelText(row.Level));
        EXPECT_EQ(colorizer.Level(index), row.Level);
        ExpectColor(colorizer.BarColor(index), row.UpFill);
        ExpectColor(colorizer.OutlineColor(index), row.UpOutline);
        EXPECT_EQ(colorizer.Level(index + 3), row.Level);
        ExpectColor(colorizer.BarColor(index + 3), row.DownFill);
        index += 6;
    }
}

TEST(VolumeColorizer, FlatBarIsUp) {
    TVolumeColorizer colorizer(2);
    colorizer.Compute(SeriesFromBars({{10, 10, 10, 10, 1000}}));
    EXPECT_TRUE(colorizer.Up()[0]);
    ExpectColor(colorizer.BarColor(0), {105, 188, 132});
}

TEST(VolumeColorizer, OutsideTheBars) {
    TVolumeColorizer colorizer(20);
    for (int index : {-1, 0, 21}) {
        EXPECT_EQ(colorizer.Level(index), TVolumeLevel::vlNone);
        ExpectColor(colorizer.BarColor(index), {144, 144, 144});
        ExpectColor(colorizer.OutlineColor(index), {94, 94, 94});
    }
    colorizer.Compute(TwentyThenOne(1000));
    EXPECT_EQ(colorizer.Level(21), TVolumeLevel::vlNone);
    EXPECT_TRUE(std::isnan(colorizer.Ratio(21)));
    EXPECT_TRUE(std::isnan(colorizer.Ratio(-1)));
    ExpectColor(colorizer.OutlineColor(-1), {94, 94, 94});
}

TEST(VolumeColorizer, LevelTexts) {
    const std::pair<TVolumeLevel, const char*> texts[] = {
        {TVolumeLevel::vlNone, "n/d"},   {TVolumeLevel::vlVeryLow, "tres faible"},
        {TVolumeLevel::vlLow, "faible"}, {TVolumeLevel::vlNormal, "normal"},
        {TVolumeLevel::vlHigh, "eleve"}, {TVolumeLevel::vlVeryHigh, "exceptionnel"},
    };
    for (const auto& [level, text] : texts) {
        EXPECT_EQ(TVolumeColorizer::LevelText(level), text);
    }
}

TEST(BlendColors, ClampsTheWeightAndRoundsHalvesToEven) {
    const TColor a = ColorFromRGB(1, 3, 5);
    const TColor black = ColorFromRGB(0, 0, 0);
    ExpectColor(BlendColors(a, black, 0.5), {0, 2, 2});
    ExpectColor(BlendColors(a, black, 1.5), {1, 3, 5});
    ExpectColor(BlendColors(a, black, -1), {0, 0, 0});
    ExpectColor(BlendColors(a, black, std::nan("")), {0, 0, 0});
    EXPECT_EQ(ColorFromRGB(1, 2, 3), 0x030201u);
}

}  // namespace
}  // namespace cotalys
