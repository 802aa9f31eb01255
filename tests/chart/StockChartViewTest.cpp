#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ChartTestSupport.h"
#include "chart/ChartScales.h"
#include "chart/ChartTexts.h"

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
    };
    for (const TCase& c :
         {TCase{axis.IndexToX(25), 300, 25}, TCase{axis.IndexToX(59), 680, 59},
          TCase{axis.IndexToX(25), 10, -1}, TCase{axis.IndexToX(20), 26, 20},
          TCase{axis.IndexToX(30), 681, -1}, TCase{950, 300, -1}, TCase{3, 300, -1}}) {
        MoveMouse(view, c.X, c.Y);
        EXPECT_EQ(view.Scene().HoverIndex, c.Hover) << c.X << "," << c.Y;
    }
    MoveMouse(view, axis.IndexToX(40), 500);
    ASSERT_EQ(view.Scene().HoverIndex, 40);
    LeaveWidget(view);
    EXPECT_EQ(view.Scene().HoverIndex, -1);
}

TEST(StockChartViewTest, ArrowKeysWalkTheDisplayedBars) {
    const TAnalysedSeries data(WaveSeries());
    TStockChartView view;
    view.SetData(&data.Series, &data.Analysis, &data.Colorizer, data.Series[50].Date);
    struct TCase {
        Qt::Key Key;
        int Hover;
    };
    for (const TCase& c :
         {TCase{Qt::Key_Right, 50}, TCase{Qt::Key_Left, 50}, TCase{Qt::Key_Right, 51},
          TCase{Qt::Key_End, 59}, TCase{Qt::Key_Right, 59}, TCase{Qt::Key_Escape, -1},
          TCase{Qt::Key_Left, 59}, TCase{Qt::Key_Home, 50}}) {
        QKeyEvent press(QEvent::KeyPress, c.Key, Qt::NoModifier);
        QApplication::sendEvent(&view, &press);
        EXPECT_EQ(view.Scene().HoverIndex, c.Hover) << c.Key;
    }
}

TEST(StockChartViewTest, MouseOverAnEmptyChartHoversNothing) {
    TStockChartView view;
    MoveMouse(view, 400, 300);
    EXPECT_EQ(view.Scene().HoverIndex, -1);
}

}  // namespace
}  // namespace cotalys::test
