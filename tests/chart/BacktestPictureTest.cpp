#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <filesystem>
#include <string>

#include "ChartTestSupport.h"
#include "chart/ChartView.h"
#include "support/TestSupport.h"

namespace cotalys::test {
namespace {

namespace palette = chart_palette;

// Three years (the default setting up, down, then without a measured signal), a setting of
// each verdict, and results on both sides of 0.
TBacktestFigures SmallFigures() {
    TBacktestFigures figures;
    figures.Title = "Backtest sur 3 an(s), du 22/02/2018 au 22/02/2021";
    figures.SettingName = "RSI obligatoire (defaut)";
    figures.Years = {{2019, 6, 12, 2}, {2020, -3, 5, 1.5}, {2021, NaN, 0, -1}};
    TConfidenceRow better{"Meilleur", 40, 12, 2, 1, 3, 1, 0.5, 2, TConfidenceVerdict::cvBetter};
    TConfidenceRow worse{"Moins bon", 30, 10, -2,   -3,
                         -1,          -1, -2, -0.5, TConfidenceVerdict::cvWorse};
    TConfidenceRow few{"Rare", 3, 2, 1, NaN, NaN, 1, NaN, NaN, TConfidenceVerdict::cvTooFew};
    figures.Confidence = {better, worse, few};
    figures.SettingResults20 = {-4, -1, 2, 3, 5, 8};
    figures.ReferenceResults20 = {-6, -2, -1, 0, 1, 1, 2, 4, 7};
    return figures;
}

QImage Render(const TBacktestFigures& AFigures, int AWidth, int AHeight) {
    return RenderBacktestImage(AFigures, AWidth, AHeight, ChartFont());
}

TEST(BacktestPicture, SavesAnRgbPngOfTheAskedSize) {
    const TempDir folder;
    const struct {
        int Width;
        int Height;
        std::string Header;  // IHDR: width, height (big-endian), 8 bits, colour type 2 (RGB)
    } cases[] = {
        {BacktestPngWidth, BacktestPngHeight, std::string("\0\0\x06\x40\0\0\x03\xe8\x08\x02", 10)},
        {800, 500, std::string("\0\0\x03\x20\0\0\x01\xf4\x08\x02", 10)}};
    for (const auto& c : cases) {
        const std::string file = (folder.Path() / Format("%dx%d.png", c.Width, c.Height)).string();
        SaveBacktestToPng(SmallFigures(), file, c.Width, c.Height);
        const std::string bytes = ReadAll(file);
        ASSERT_GT(bytes.size(), 26u);
        EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
        EXPECT_EQ(bytes.substr(16, 10), c.Header) << c.Width;
    }
    EXPECT_EQ(Render(SmallFigures(), 1600, 1000).format(), QImage::Format_RGB888);

    const std::string bad = (folder.Path() / "bad.png").string();
    EXPECT_THROW(SaveBacktestToPng(SmallFigures(), bad, 0, 10), EFinanceError);
    EXPECT_FALSE(std::filesystem::exists(bad));
}

// Each bar stands on the zero line, in its colour, as tall as its mean; a year without a
// measured signal has no bar of the setting.
TEST(BacktestPicture, YearBarsStandOnTheZeroLineAsTallAsTheirMeans) {
    const TBacktestFigures figures = SmallFigures();
    for (const auto& [width, height] : {std::pair{1600, 1000}, std::pair{900, 600}}) {
        SCOPED_TRACE(width);
        const QImage image = Render(figures, width, height);
        const std::vector<TYearBars> bars = YearBarPlaces(figures, width, height);
        ASSERT_EQ(bars.size(), 3u);
        const TPixelRect panel = BacktestPanelsOf(width, height).Years;
        const auto centreColour = [&](const TPixelRect& ABar) {
            return PixelAt(image, (ABar.Left + ABar.Right) / 2, (ABar.Top + ABar.Bottom) / 2);
        };
        for (const TYearBars& year : bars) {
            EXPECT_TRUE(panel.Contains(year.Reference));
            EXPECT_EQ(centreColour(year.Reference), BacktestReferenceColor);
            EXPECT_LE(year.Setting.Right, year.Reference.Left);
        }
        // 2019: +6 and +2 end on the zero line; 2020: -3 hangs from it; 2021: -1 too.
        const int zero = bars[0].Setting.Bottom - 1;
        EXPECT_EQ(bars[0].Reference.Bottom - 1, zero);
        EXPECT_EQ(bars[1].Setting.Top, zero);
        EXPECT_EQ(bars[2].Reference.Top, zero);
        EXPECT_EQ(centreColour(bars[0].Setting), BacktestSettingColor);
        EXPECT_EQ(centreColour(bars[1].Setting), BacktestSettingColor);
        EXPECT_NEAR(bars[0].Setting.Height() - 1, 3 * (bars[0].Reference.Height() - 1), 4);
        EXPECT_NEAR(bars[0].Setting.Height() - 1, 2 * (bars[1].Setting.Height() - 1), 3);
        EXPECT_EQ(bars[2].Setting.Width(), 0);
        // Just above the zero line where 2021's setting bar would be: the background.
        EXPECT_EQ(PixelAt(image, bars[2].Reference.Left - 3, zero - 3), palette::Background);
    }
}

TEST(BacktestPicture, SettingsShowTheirVerdictAndResultsBothHistograms) {
    const QImage image = Render(SmallFigures(), 1600, 1000);
    const TBacktestPanels panels = BacktestPanelsOf(1600, 1000);
    EXPECT_TRUE(Holds(image, panels.Settings, palette::CompleteSignal));
    EXPECT_TRUE(Holds(image, panels.Settings, palette::HistogramDownStrong));
    EXPECT_FALSE(Holds(image, panels.Settings, BacktestSettingColor));
    // Below the legend's squares.
    const TPixelRect histograms = {panels.Results.Left, panels.Results.Top + 30,
                                   panels.Results.Right, panels.Results.Bottom};
    EXPECT_TRUE(Holds(image, histograms, BacktestSettingColor));
    EXPECT_TRUE(Holds(image, histograms, BacktestReferenceColor));

    // Nothing measured: a message, no bar anywhere.
    const QImage empty = Render(TBacktestFigures{}, 1600, 1000);
    EXPECT_FALSE(Holds(empty, {0, 0, 1600, 1000}, BacktestSettingColor));
    EXPECT_FALSE(Holds(empty, {0, 0, 1600, 1000}, BacktestReferenceColor));
}

}  // namespace
}  // namespace cotalys::test
