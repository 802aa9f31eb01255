#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <utility>

#include "ChartTestSupport.h"
#include "chart/ChartPalette.h"
#include "chart/ChartScales.h"
#include "chart/ChartTexts.h"
#include "support/TestSupport.h"

namespace cotalys::test {
namespace {

void MoveMouse(QWidget& AWidget, int AX, int AY) {
    const QPointF at(AX, AY);
    QMouseEvent event(QEvent::MouseMove, at, AWidget.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&AWidget, &event);
}

void LeaveWidget(QWidget& AWidget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&AWidget, &event);
}

TEST(StockChartViewTest, StartsEmptyAt800By600) {
    const TStockChartView view;
    EXPECT_FALSE(view.Scene().HasData());
    EXPECT_EQ(view.Scene().Message, "Aucune donnee chargee");
    EXPECT_EQ(view.size(), QSize(800, 600));
    EXPECT_EQ(view.font().family(), "Segoe UI");
    EXPECT_EQ(view.font().pointSize(), 9);
    // Where Segoe UI is missing, one of the project's faces stands in for it.
    const QString face = QFontInfo(view.font()).family();
    EXPECT_TRUE(face == "Segoe UI" || face == "Noto Sans" || face == "DejaVu Sans")
        << face.toStdString();
}

TEST(StockChartViewTest, DisplayStartIsClampedToTheBars) {
    const TAnalysedSeries data(WaveSeries());
    TStockChartView view;
    struct TCase {
        TDateTime From;
        int First;
    };
    for (const TCase& c : {TCase{EncodeDate(2030, 1, 1), 59}, TCase{EncodeDate(2000, 1, 1), 0},
                           TCase{EncodeDate(2025, 1, 12), 10}}) {
        view.SetData(&data.Series, &data.Analysis, &data.Colorizer, c.From);
        EXPECT_TRUE(view.Scene().HasData());
        EXPECT_EQ(view.Scene().First, c.First);
        EXPECT_EQ(view.Scene().Message, "");
    }
}

TEST(StockChartViewTest, SetDataStartsWithoutZonesSignalsOrHover) {
    const TAnalysedSeries data(WaveSeries());
    TStockChartView view;
    view.resize(1000, 700);
    view.SetData(&data.Series, &data.Analysis, &data.Colorizer, 0);
    view.SetZones({TPriceZone{}});
    view.SetSignals({TEntrySignal{}});
    MoveMouse(view, 500, 300);
    ASSERT_NE(view.Scene().HoverIndex, -1);
    view.SetData(&data.Series, &data.Analysis, &data.Colorizer, 0);
    EXPECT_TRUE(view.Scene().Zones.empty());
    EXPECT_TRUE(view.Scene().Signals.empty());
    EXPECT_EQ(view.Scene().HoverIndex, -1);
}

TEST(StockChartViewTest, EmptySeriesOrMissingAnalysis) {
    const TAnalysedSeries data(WaveSeries());
    const TPriceSeries empty("VIDE.PA");
    TStockChartView view;
    view.SetData(&empty, &data.Analysis, &data.Colorizer, 0);
    EXPECT_FALSE(view.Scene().HasData());
    EXPECT_EQ(view.Scene().Message, "Serie vide");
    view.SetData(nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(view.Scene().Message, "Serie vide");

    view.SetData(&data.Series, &data.Analysis, &data.Colorizer, 0);
    const TTechnicalAnalysis notComputed(&data.Series, TMACDParams::Default(), 14);
    const std::vector<const TTechnicalAnalysis*> refused = {&notComputed, nullptr};
    for (const TTechnicalAnalysis* analysis : refused) {
        try {
            view.SetData(&data.Series, analysis, &data.Colorizer, 0);
            ADD_FAILURE() << "no EFinanceError";
        } catch (const EFinanceError& e) {
            EXPECT_EQ(e.Message(), "Analyse ou coloriseur non calcules");
        }
        EXPECT_TRUE(view.Scene().HasData()) << "the chart keeps what it showed";
    }
    EXPECT_THROW(view.SetData(&data.Series, &data.Analysis, nullptr, 0), EFinanceError);

    view.ClearData("");
    EXPECT_FALSE(view.Scene().HasData());
    EXPECT_EQ(ChartMessage(view.Scene(), 800, 600), "Aucune donnee");
}

TEST(StockChartViewTest, HoverFollowsTheMouseOverThePlotOnly) {
    const TAnalysedSeries data(WaveSeries());
    TStockChartView view;
    view.resize(1000, 700);
    view.SetData(&data.Series, &data.Analysis, &data.Colorizer, data.Series[20].Date);
    const TChartLayout layout = LayoutPanels(1000, 700);
    const TTimeAxis axis = TimeAxisOf(layout, view.Scene());
    struct TCase {
        int X, Y;
        int Hover;
        int HoverY;  // the row read out: over a panel only
    };
    for (const TCase& c :
         {TCase{axis.IndexToX(25), 300, 25, 300}, TCase{axis.IndexToX(59), 680, 59, -1},
          TCase{axis.IndexToX(59), 679, 59, 679}, TCase{axis.IndexToX(25), 10, -1, -1},
          TCase{axis.IndexToX(20), 26, 20, 26},
          TCase{axis.IndexToX(22), 345, 22, -1},  // between two panels
          TCase{axis.IndexToX(30), 681, -1, -1}, TCase{950, 300, -1, -1}, TCase{3, 300, -1, -1}}) {
        MoveMouse(view, c.X, c.Y);
        EXPECT_EQ(view.Scene().HoverIndex, c.Hover) << c.X << "," << c.Y;
        EXPECT_EQ(view.Scene().HoverY, c.HoverY) << c.X << "," << c.Y;
    }
    MoveMouse(view, axis.IndexToX(40), 500);
    ASSERT_EQ(view.Scene().HoverIndex, 40);
    LeaveWidget(view);
    EXPECT_EQ(view.Scene().HoverIndex, -1);
    EXPECT_EQ(view.Scene().HoverY, -1);
}

void Press(QWidget& AWidget, Qt::Key AKey, Qt::KeyboardModifiers AModifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, AKey, AModifiers);
    QApplication::sendEvent(&AWidget, &press);
}

void Wheel(QWidget& AWidget, int AX, int AY, int ADelta) {
    const QPointF at(AX, AY);
    QWheelEvent event(at, AWidget.mapToGlobal(at), QPoint(), QPoint(0, ADelta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&AWidget, &event);
}

void Mouse(QWidget& AWidget, QEvent::Type AType, int AX, int AY, Qt::MouseButtons AButtons) {
    const QPointF at(AX, AY);
    const Qt::MouseButton button = AType == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(AType, at, AWidget.mapToGlobal(at), button, AButtons, Qt::NoModifier);
    QApplication::sendEvent(&AWidget, &event);
}

// Two hundred bars shown from bar 40, as the window shows a year of a longer load, on a
// 1000 x 700 chart.
struct TZoomFixture {
    TZoomFixture() : Data(WaveSeries(200)) {
        View.resize(1000, 700);
        View.SetData(&Data.Series, &Data.Analysis, &Data.Colorizer, Data.Series[40].Date);
    }

    TTimeAxis Axis() const { return TimeAxisOf(LayoutPanels(1000, 700), View.Scene()); }
    std::pair<int, int> Bars() const { return {View.Scene().First, View.Scene().Last}; }

    TAnalysedSeries Data;
    TStockChartView View;
};

using TBars = std::pair<int, int>;

TEST(StockChartViewZoomTest, WheelZoomsAroundTheBarUnderTheMouse) {
    TZoomFixture f;
    ASSERT_EQ(f.Bars(), TBars(40, 199));
    const int x = f.Axis().IndexToX(100);
    Wheel(f.View, x, 200, 120);
    EXPECT_EQ(f.View.Scene().VisibleCount(), 128);  // 160 / 1.25
    EXPECT_EQ(f.Axis().XToIndex(x), 100);
    EXPECT_EQ(f.View.Scene().HoverIndex, 100);
    // Half notches add up to one step.
    Wheel(f.View, x, 200, 60);
    EXPECT_EQ(f.View.Scene().VisibleCount(), 128);
    Wheel(f.View, x, 200, 60);
    EXPECT_EQ(f.View.Scene().VisibleCount(), 102);
    EXPECT_EQ(f.Axis().XToIndex(x), 100);
    // No fewer than 20 bars, still around the same bar.
    Wheel(f.View, x, 200, 20 * 120);
    EXPECT_EQ(f.View.Scene().VisibleCount(), TStockChartView::MinZoomBars);
    EXPECT_EQ(f.Axis().XToIndex(x), 100);
    // Out as far as every loaded bar, before the year shown at first too.
    Wheel(f.View, x, 200, -30 * 120);
    EXPECT_EQ(f.Bars(), TBars(0, 199));
    // A double-click shows the first view again.
    Mouse(f.View, QEvent::MouseButtonDblClick, x, 200, Qt::LeftButton);
    EXPECT_EQ(f.Bars(), TBars(40, 199));
}

TEST(StockChartViewZoomTest, DragWithTheLeftButtonPans) {
    TZoomFixture f;
    Wheel(f.View, f.Axis().IndexToX(199), 200, 3 * 120);  // 160, 128, 102, 82 bars
    ASSERT_EQ(f.Bars(), TBars(118, 199));
    const TTimeAxis axis = f.Axis();
    const int from = axis.IndexToX(150);
    // Ten slots to the right bring ten earlier sessions into view.
    Mouse(f.View, QEvent::MouseButtonPress, from, 300, Qt::LeftButton);
    Mouse(f.View, QEvent::MouseMove, axis.IndexToX(160), 300, Qt::LeftButton);
    EXPECT_EQ(f.Bars(), TBars(108, 189));
    // Back, then past the last bar: the view stops at it.
    Mouse(f.View, QEvent::MouseMove, axis.IndexToX(120), 300, Qt::LeftButton);
    EXPECT_EQ(f.Bars(), TBars(118, 199));
    Mouse(f.View, QEvent::MouseButtonRelease, axis.IndexToX(120), 300, Qt::NoButton);
    // Without the button the mouse only hovers.
    Mouse(f.View, QEvent::MouseMove, axis.IndexToX(150), 300, Qt::NoButton);
    EXPECT_EQ(f.Bars(), TBars(118, 199));
    EXPECT_EQ(f.View.Scene().HoverIndex, 150);
}

TEST(StockChartViewZoomTest, KeysZoomPanAndReset) {
    TZoomFixture f;
    struct TCase {
        Qt::Key Key;
        TBars Bars;
    };
    // Without a hovered bar the keyboard zooms with the latest session kept in view.
    for (const TCase& c : {TCase{Qt::Key_Plus, {72, 199}}, TCase{Qt::Key_Plus, {98, 199}},
                           TCase{Qt::Key_Left, {88, 189}}, TCase{Qt::Key_Left, {78, 179}},
                           TCase{Qt::Key_Right, {88, 189}}, TCase{Qt::Key_End, {98, 199}},
                           TCase{Qt::Key_Minus, {72, 199}}, TCase{Qt::Key_Home, {40, 199}},
                           TCase{Qt::Key_Left, {24, 183}}, TCase{Qt::Key_Home, {40, 199}}}) {
        Press(f.View, c.Key);
        EXPECT_EQ(f.Bars(), c.Bars) << c.Key;
    }
    // With one, around it.
    MoveMouse(f.View, f.Axis().IndexToX(60), 200);
    Press(f.View, Qt::Key_Plus);
    EXPECT_EQ(f.View.Scene().VisibleCount(), 128);
    EXPECT_EQ(f.Axis().XToIndex(f.Axis().IndexToX(60)), 60);
}

TEST(StockChartViewZoomTest, ShiftArrowsWalkTheDisplayedBars) {
    TZoomFixture f;
    Wheel(f.View, f.Axis().IndexToX(199), 200, 7 * 120);
    ASSERT_EQ(f.Bars(), TBars(166, 199));  // 34 bars
    struct TCase {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        int Hover;
    };
    for (const TCase& c :
         {TCase{Qt::Key_Escape, Qt::NoModifier, -1}, TCase{Qt::Key_Right, Qt::ShiftModifier, 166},
          TCase{Qt::Key_Left, Qt::ShiftModifier, 166}, TCase{Qt::Key_Right, Qt::ShiftModifier, 167},
          TCase{Qt::Key_Escape, Qt::NoModifier, -1}, TCase{Qt::Key_Left, Qt::ShiftModifier, 199},
          TCase{Qt::Key_Right, Qt::ShiftModifier, 199}}) {
        Press(f.View, c.Key, c.Modifiers);
        EXPECT_EQ(f.View.Scene().HoverIndex, c.Hover) << c.Key;
    }
    EXPECT_EQ(f.Bars(), TBars(166, 199));
}

TEST(StockChartViewZoomTest, NewDataShowsItsOwnYear) {
    TZoomFixture f;
    Press(f.View, Qt::Key_Plus);
    Press(f.View, Qt::Key_Left);
    ASSERT_NE(f.Bars(), TBars(40, 199));
    f.View.SetData(&f.Data.Series, &f.Data.Analysis, &f.Data.Colorizer, f.Data.Series[60].Date);
    EXPECT_EQ(f.Bars(), TBars(60, 199));
    Press(f.View, Qt::Key_Minus);
    Press(f.View, Qt::Key_Home);
    EXPECT_EQ(f.Bars(), TBars(60, 199));
}

TEST(StockChartViewZoomTest, ReadOutOnScreenAndTheZoomedViewInTheExport) {
    TZoomFixture f;
    const TChartLayout layout = LayoutPanels(1000, 700);
    const int right = layout.Plot.Right;
    const int x = f.Axis().IndexToX(120);
    Wheel(f.View, x, 400, 2 * 120);  // over the volume panel
    ASSERT_EQ(f.Bars(), TBars(69, 170));
    ASSERT_EQ(f.View.Scene().HoverY, 400);

    QImage screen(1000, 700, QImage::Format_RGB32);
    {
        QPainter painter(&screen);
        f.View.Render(painter, 1000, 700);
    }
    // The tag of the value at the mouse, right of its text, and the dashed line to it.
    EXPECT_EQ(PixelAt(screen, right + 60, 400), chart_palette::Crosshair);
    int dashes = 0;
    for (int column = layout.Plot.Left + 1; column < right - 1; ++column) {
        dashes += PixelAt(screen, column, 400) == chart_palette::Crosshair ? 1 : 0;
    }
    EXPECT_GT(dashes, 100);

    const TempDir dir;
    const std::string file = (dir.Path() / "zoom.png").string();
    f.View.SaveToPng(file, 1000, 700);
    const QImage exported =
        QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
    TChartScene shown = f.View.Scene();
    shown.HoverIndex = shown.HoverY = -1;
    EXPECT_EQ(
        exported,
        RenderChartImage(shown, 1000, 700, f.View.font()).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(PixelAt(exported, right + 60, 400), chart_palette::Background);
    EXPECT_EQ(f.View.Scene().HoverY, 400);
}

TEST(StockChartViewTest, MouseOverAnEmptyChartHoversNothing) {
    TStockChartView view;
    MoveMouse(view, 400, 300);
    EXPECT_EQ(view.Scene().HoverIndex, -1);
}

}  // namespace
}  // namespace cotalys::test
