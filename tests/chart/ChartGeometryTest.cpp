#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "chart/ChartGeometry.h"

namespace cotalys {
namespace {

TEST(ChartLayoutTest, LaysOutA1000By700AreaCellForCell) {
    const TChartLayout layout = LayoutPanels(1000, 700);
    EXPECT_EQ(layout.Plot, (TPixelRect{8, 26, 930, 680}));
    EXPECT_EQ(layout.Panel(TPanelKind::pkPrice).Rect, (TPixelRect{8, 26, 930, 341}));
    EXPECT_EQ(layout.Panel(TPanelKind::pkVolume).Rect, (TPixelRect{8, 349, 930, 437}));
    EXPECT_EQ(layout.Panel(TPanelKind::pkMACD).Rect, (TPixelRect{8, 445, 930, 558}));
    EXPECT_EQ(layout.Panel(TPanelKind::pkRSI).Rect, (TPixelRect{8, 566, 930, 680}));
}

TEST(ChartLayoutTest, PanelHeightsRoundHalvesToEvenAndRSITakesTheRest) {
    struct TCase {
        int Height;
        int Price, Volume, MACD, RSI;
    };
    // Available heights 631 and 629: half of them ends in .5.
    for (const TCase& c : {TCase{701, 316, 88, 114, 113}, TCase{699, 314, 88, 113, 114}}) {
        const TChartLayout layout = LayoutPanels(1000, c.Height);
        EXPECT_EQ(layout.Panel(TPanelKind::pkPrice).Rect.Height(), c.Price) << c.Height;
        EXPECT_EQ(layout.Panel(TPanelKind::pkVolume).Rect.Height(), c.Volume) << c.Height;
        EXPECT_EQ(layout.Panel(TPanelKind::pkMACD).Rect.Height(), c.MACD) << c.Height;
        EXPECT_EQ(layout.Panel(TPanelKind::pkRSI).Rect.Height(), c.RSI) << c.Height;
        EXPECT_EQ(layout.Panel(TPanelKind::pkRSI).Rect.Bottom, layout.Plot.Bottom);
    }
}

TEST(TimeAxisTest, SingleBarSitsInTheMiddleAndFills70Percent) {
    const TChartLayout layout = LayoutPanels(1000, 700);
    const TTimeAxis axis{layout.Plot.Left, layout.Plot.Width(), 41, 1};
    EXPECT_EQ(axis.IndexToX(41), (layout.Plot.Left + layout.Plot.Right) / 2);
    EXPECT_EQ(axis.BarWidth(), 645);  // 922 x 0.7 = 645.4
    EXPECT_EQ(axis.XToIndex(layout.Plot.Left), 41);
    EXPECT_EQ(axis.XToIndex(layout.Plot.Right - 1), 41);
    EXPECT_EQ(axis.XToIndex(layout.Plot.Right), -1);
}

TEST(TimeAxisTest, IndexToXRoundsHalvesToEven) {
    struct TCase {
        int Width, Count, Index;
        int Expected;
    };
    // One bar: its centre is at Width / 2. Then centres lying exactly on a half pixel, which
    // a slot width computed first pushed one pixel to the odd side.
    for (const TCase& c : {TCase{1, 1, 0, 0}, TCase{3, 1, 0, 2}, TCase{5, 1, 0, 2},
                           TCase{7, 1, 0, 4}, TCase{606, 258, 21, 50}, TCase{122, 14, 10, 92}}) {
        EXPECT_EQ((TTimeAxis{0, c.Width, 0, c.Count}.IndexToX(c.Index)), c.Expected)
            << c.Width << " " << c.Count << " " << c.Index;
    }
}

// The centre of bar AIndex of ACount across AWidth pixels, (2 AIndex + 1) AWidth / (2 ACount),
// rounded half to even in whole numbers.
int ExactCentre(int AIndex, int AWidth, int ACount) {
    const int twice = (2 * AIndex + 1) * AWidth;
    const int quotient = twice / (2 * ACount);
    const int remainder = twice % (2 * ACount);
    const bool up = remainder > ACount || (remainder == ACount && quotient % 2 == 1);
    return quotient + (up ? 1 : 0);
}

TEST(TimeAxisTest, IndexToXIsTheExactCentreOfEverySlot) {
    // A year of sessions on charts 680, 1196 and 1600 pixels wide; 86 centres of each of the
    // first two lie on a half pixel.
    for (int width : {602, 1118, 1522}) {
        const TTimeAxis axis{8, width, 40, 258};
        for (int i = axis.First; i <= axis.Last(); ++i) {
            EXPECT_EQ(axis.IndexToX(i), 8 + ExactCentre(i - axis.First, width, 258))
                << width << " " << i;
        }
    }
}

TEST(TimeAxisTest, XToIndexFindsTheSlotAndRefusesOutsideTheBars) {
    const TTimeAxis axis{10, 100, 20, 4};  // slots of 25 pixels for bars 20..23
    struct TCase {
        int X;
        int Index;
    };
    for (const TCase& c : {TCase{10, 20}, TCase{34, 20}, TCase{35, 21}, TCase{109, 23},
                           TCase{110, -1}, TCase{9, -1}, TCase{-100000, -1}}) {
        EXPECT_EQ(axis.XToIndex(c.X), c.Index) << c.X;
    }
    EXPECT_EQ((TTimeAxis{10, 100, 0, 0}.XToIndex(50)), -1);
    EXPECT_EQ((TTimeAxis{10, 0, 0, 5}.XToIndex(10)), -1);
}

TEST(TimeAxisTest, XToIndexUndoesIndexToXWithSlotsOfTwoPixelsOrMore) {
    for (int width : {50, 922, 1522}) {
        for (int count : {1, 7, 25}) {
            const TTimeAxis axis{8, width, 100, count};
            for (int i = axis.First; i <= axis.Last(); ++i) {
                EXPECT_EQ(axis.XToIndex(axis.IndexToX(i)), i) << width << " " << count;
            }
        }
    }
}

TEST(TimeAxisTest, BarWidthIsAtLeastOnePixel) {
    EXPECT_EQ((TTimeAxis{0, 100, 0, 10}.BarWidth()), 7);
    EXPECT_EQ((TTimeAxis{0, 100, 0, 1000}.BarWidth()), 1);
    EXPECT_EQ((TTimeAxis{0, 100, 0, 0}.BarWidth()), 70);
}

TEST(ChartPanelTest, ValueToYMapsClampsAndCentres) {
    const double inf = std::numeric_limits<double>::infinity();
    // 101 pixels high: 0 at the bottom row, 1 a hundred rows up; the middle row is 150.
    TChartPanel panel{{8, 100, 500, 201}, 0, 1, ""};
    struct TCase {
        double Value;
        int Y;
    };
    for (const TCase& c : {TCase{0, 201}, TCase{1, 101}, TCase{0.5, 151}, TCase{0.125, 189},
                           TCase{0.375, 163}, TCase{2, 99}, TCase{-1, 202}, TCase{1e300, 99},
                           TCase{inf, 99}, TCase{-inf, 202}, TCase{std::nan(""), 150}}) {
        EXPECT_EQ(panel.ValueToY(c.Value), c.Y) << c.Value;
    }
    panel.MinValue = panel.MaxValue = 3;
    EXPECT_EQ(panel.ValueToY(3), 150);
    EXPECT_EQ(panel.ValueToY(-40), 150);
}

TEST(ChartPanelTest, YToValueReadsTheRowValueToYGives) {
    const TChartPanel panel{{8, 349, 930, 437}, -2.5, 7.25, ""};
    EXPECT_DOUBLE_EQ(panel.YToValue(437), -2.5);
    EXPECT_DOUBLE_EQ(panel.YToValue(350), 7.25);
    for (int y = panel.Rect.Top; y < panel.Rect.Bottom; ++y) {
        EXPECT_EQ(panel.ValueToY(panel.YToValue(y)), y) << y;
    }
    EXPECT_EQ((TChartPanel{{8, 100, 500, 101}, 4, 9, ""}.YToValue(100)), 4);
}

}  // namespace
}  // namespace cotalys
