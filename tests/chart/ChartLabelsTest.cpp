#include <gtest/gtest.h>

#include <set>

#include "ChartTestSupport.h"
#include "DemoChart.h"
#include "chart/ChartPalette.h"

namespace cotalys::test {
namespace {

namespace palette = chart_palette;

constexpr int Width = 1600;
constexpr int Height = 1000;
constexpr int ClearSessions = 15;

// Air Liquide as of 19 February 2021: six zones, three of them within a few euros of the last
// closes, and a signal four weeks before.
struct TCrowdedChart {
    TCrowdedChart()
        : Chart("AI.PA", EncodeDate(2021, 2, 19)),
          Image(RenderChartImage(Chart.Scene, Width, Height, ChartFont())),
          Probe(Chart.Scene, Width, Height) {}

    const TChartPainter& P() const { return Probe.Chart(); }

    TDemoChart Chart;
    QImage Image;
    TChartProbe Probe;
};

// The colours found in ARect of AImage.
std::set<TColor> ColoursIn(const QImage& AImage, const TPixelRect& ARect) {
    std::set<TColor> colours;
    for (int y = ARect.Top; y < ARect.Bottom; ++y) {
        for (int x = ARect.Left; x < ARect.Right; ++x) {
            colours.insert(PixelAt(AImage, x, y));
        }
    }
    return colours;
}

TEST(ChartLabelsTest, ZoneLabelsNeitherOverlapNorHideTheLastSessions) {
    const TCrowdedChart f;
    ASSERT_EQ(f.Chart.Scene.Zones.size(), 6u);
    const std::vector<TZoneLabel> labels = PlaceZoneLabels(f.P());
    ASSERT_EQ(labels.size(), 6u) << "every label finds a place on a 1600 x 1000 chart";

    for (std::size_t a = 0; a < labels.size(); ++a) {
        for (std::size_t b = a + 1; b < labels.size(); ++b) {
            EXPECT_FALSE(labels[a].Box.Intersects(labels[b].Box))
                << labels[a].Text << " / " << labels[b].Text;
        }
        // Its whole border is drawn: no other box was drawn over it.
        const TPixelRect& box = labels[a].Box;
        for (const TPixelRect& edge : {TPixelRect{box.Left, box.Top, box.Right, box.Top + 1},
                                       TPixelRect{box.Left, box.Bottom - 1, box.Right, box.Bottom},
                                       TPixelRect{box.Left, box.Top, box.Left + 1, box.Bottom},
                                       TPixelRect{box.Right - 1, box.Top, box.Right, box.Bottom}}) {
            EXPECT_EQ(ColoursIn(f.Image, edge), std::set<TColor>{labels[a].Color})
                << labels[a].Text;
        }
    }

    // Each candle of the last sessions shows only its own colours (and a month separator).
    const TVolumeColorizer& colorizer = f.Chart.Colorizer;
    const int last = f.Chart.Scene.Last;
    for (int i = last - ClearSessions + 1; i <= last; ++i) {
        const TCandle candle = CandleOf(f.P(), i);
        const std::set<TColor> own = {colorizer.OutlineColor(i), colorizer.BarColor(i),
                                      palette::Grid};
        std::set<TColor> seen =
            ColoursIn(f.Image, {candle.X, candle.WickTop, candle.X + 1, candle.WickBottom});
        ASSERT_TRUE(candle.HasBody);
        seen.merge(ColoursIn(f.Image, candle.Body));
        for (TColor colour : seen) {
            EXPECT_TRUE(own.count(colour) == 1) << "bar " << i << ": " << RedOf(colour) << ","
                                                << GreenOf(colour) << "," << BlueOf(colour);
        }
    }
    // Every arrow shows whole (a month separator may cross one, as it crosses the candles).
    for (const TEntrySignal& signal : f.Chart.Scene.Signals) {
        const TSignalArrow arrow = ArrowOf(f.P(), signal);
        const TColor colour =
            signal.IsComplete() ? palette::CompleteSignal : palette::PartialSignal;
        std::set<TColor> seen =
            ColoursIn(f.Image, {arrow.X - arrow.Size / 3, arrow.Top + arrow.Size,
                                arrow.X + arrow.Size / 3 + 1, arrow.Top + 2 * arrow.Size});
        seen.erase(palette::Grid);
        EXPECT_EQ(seen, std::set<TColor>{colour}) << "signal on bar " << signal.Index;
    }
}

TEST(ChartLabelsTest, ValueLabelsNeverOverlapAndTheTagHidesNone) {
    const TCrowdedChart f;
    const std::vector<TTextBox> labels = ValueLabels(f.P());
    const TPixelRect tag = LastCloseTagBox(f.P());
    // 7 + 3 + 5 + 5 labels, less one at each of the three junctions.
    EXPECT_EQ(labels.size(), 17u);
    for (std::size_t a = 0; a < labels.size(); ++a) {
        EXPECT_FALSE(labels[a].Box.Intersects(tag)) << labels[a].Text;
        for (std::size_t b = a + 1; b < labels.size(); ++b) {
            EXPECT_FALSE(labels[a].Box.Intersects(labels[b].Box))
                << labels[a].Text << " / " << labels[b].Text;
        }
    }
    // Beside the plot, ink is found only on these labels (a glyph may reach a pixel past its
    // advance) and the tag.
    const TPixelRect& plot = f.P().Layout.Plot;
    for (int y = plot.Top; y < plot.Bottom; ++y) {
        for (int x = plot.Right + 1; x < Width; ++x) {
            const TPixelRect pixel = {x - 1, y, x + 2, y + 1};
            const bool boxed =
                tag.Intersects(pixel) ||
                std::any_of(labels.begin(), labels.end(), [&pixel](const TTextBox& ALabel) {
                    return ALabel.Box.Intersects(pixel);
                });
            if (!boxed) {
                ASSERT_EQ(PixelAt(f.Image, x, y), palette::Background) << x << "," << y;
            }
        }
    }
}

TEST(ChartLabelsTest, MonthSeparatorsLeaveTheTitlesClear) {
    const TCrowdedChart f;
    const std::vector<TPixelRect> titles = TitleBoxes(f.P());
    int crossings = 0;
    for (int start : MonthStarts(f.P())) {
        const int x = f.P().Axis.IndexToX(start);
        for (const TPixelRect& title : titles) {
            if (x < title.Left || x >= title.Right) {
                continue;
            }
            ++crossings;
            EXPECT_EQ(ColoursIn(f.Image, {x, title.Top, x + 1, title.Bottom}).count(palette::Grid),
                      0u)
                << "separator at " << x;
            // Below the title the separator goes on.
            EXPECT_EQ(ColoursIn(f.Image, {x, title.Bottom, x + 1, title.Bottom + 20})
                          .count(palette::Grid),
                      1u)
                << "separator at " << x;
        }
    }
    EXPECT_GE(crossings, 2) << "the March separator passes through the MACD and RSI titles";
}

}  // namespace
}  // namespace cotalys::test
