#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "ChartTestSupport.h"
#include "chart/ChartView.h"
#include "support/TestSupport.h"

namespace cotalys::test {
namespace {

// Two years of a strategy that loses a tenth while the equal-weighted portfolio gains a fifth;
// no index.
TPortfolioFigures SmallFigures() {
    TPortfolioFigures figures;
    figures.Title = "Simulation du portefeuille : capital 10 000 EUR";
    figures.Capital = 10000;
    figures.Years = {2019, 2020};
    for (int i = 0; i < 40; ++i) {
        figures.Dates.push_back(EncodeDate(i < 20 ? 2019 : 2020, 3, 1 + i % 20));
    }
    TPortfolioCurve strategy{"Strategie", {}, {}, {-4, -6.25}};
    TPortfolioCurve equal{"Egal-pondere", {}, {}, {10, 9.09}};
    for (int i = 0; i < 40; ++i) {
        strategy.Values.push_back(10000 - 25 * (i + 1));
        strategy.DrawdownPct.push_back(-0.25 * (i + 1));
        equal.Values.push_back(10000 + 50 * (i + 1));
        equal.DrawdownPct.push_back(0);
    }
    figures.Curves = {strategy, equal};
    return figures;
}

TEST(PortfolioPicture, EachPanelShowsThePortfoliosItHolds) {
    const QImage image =
        RenderPortfolioImage(SmallFigures(), BacktestPngWidth, BacktestPngHeight, ChartFont());
    ASSERT_EQ(image.width(), BacktestPngWidth);
    const TPortfolioPanels panels = PortfolioPanelsOf(BacktestPngWidth, BacktestPngHeight);
    for (const TPixelRect& panel : {panels.Values, panels.Falls, panels.Years}) {
        EXPECT_TRUE(Holds(image, panel, PortfolioStrategyColor));
    }
    EXPECT_TRUE(Holds(image, panels.Values, PortfolioEqualWeightColor));
    EXPECT_TRUE(Holds(image, panels.Years, PortfolioEqualWeightColor));
    // No index in the figures: its colour appears nowhere.
    EXPECT_FALSE(Holds(image, {0, 0, BacktestPngWidth, BacktestPngHeight}, PortfolioIndexColor));

    // The strategy ends below the capital and the other above it: in the values panel, the
    // strategy's last point is lower on the picture than the equal-weighted portfolio's.
    const auto lowestRowOf = [&](TColor AColor) {
        for (int y = panels.Values.Bottom - 1; y > panels.Values.Top; --y) {
            for (int x = panels.Values.Right - 40; x < panels.Values.Right; ++x) {
                if (PixelAt(image, x, y) == AColor) {
                    return y;
                }
            }
        }
        return -1;
    };
    EXPECT_GT(lowestRowOf(PortfolioStrategyColor), lowestRowOf(PortfolioEqualWeightColor));
}

TEST(PortfolioPicture, AMessageInPlaceOfNothingToShow) {
    const struct {
        const char* Name;
        TPortfolioFigures Figures;
        int Width;
    } cases[] = {{"no session", TPortfolioFigures{}, BacktestPngWidth},
                 {"too small", SmallFigures(), 150}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QImage image = RenderPortfolioImage(c.Figures, c.Width, 400, ChartFont());
        EXPECT_FALSE(Holds(image, {0, 0, c.Width, 400}, PortfolioStrategyColor));
        EXPECT_TRUE(Holds(image, {0, 0, c.Width, 400}, chart_palette::Label)) << "the message";
    }
}

TEST(PortfolioPicture, SavesAnRgbPngBesideTheBacktests) {
    const TempDir folder;
    const std::string file = (folder.Path() / "p.png").string();
    SavePortfolioToPng(SmallFigures(), file);
    const std::string png = ReadAll(file);
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(16, 10), std::string("\0\0\x06\x40\0\0\x03\xe8\x08\x02", 10));
}

}  // namespace
}  // namespace cotalys::test
