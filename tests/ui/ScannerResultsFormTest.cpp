#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <cmath>
#include <limits>

#include "ui/ScanCells.h"
#include "ui/ScanRowsModel.h"
#include "ui/ScannerResultsForm.h"
#include "ui/UiTestSupport.h"

namespace cotalys {
namespace {

TScanRow MakeRow(const std::string& ASymbol, TScanStatus AStatus, bool ASelected = false,
                 bool AInvalidated = false) {
    TScanRow row;
    row.Symbol = ASymbol;
    row.Name = "Societe " + ASymbol;
    row.Status = AStatus;
    row.LastClose = 12.3;
    row.Rsi = 45.4;
    row.Selected = ASelected;
    row.Invalidated = AInvalidated;
    if (AStatus == TScanStatus::ssError) {
        row.ErrorText = "Erreur de source : introuvable";
    }
    return row;
}

TMarketContext Context(bool AValid, TMarketPhase APhase) {
    TMarketContext context = InvalidMarketContext("^FCHI", "historique insuffisant");
    context.Valid = AValid;
    context.Phase = APhase;
    return context;
}

// 3 signals (one retained, one whose rebound failed, one both), 5 to watch, 31 others, 1 error.
std::vector<TScanRow> FortyRows() {
    std::vector<TScanRow> rows = {MakeRow("S1.PA", TScanStatus::ssSignal, true),
                                  MakeRow("S2.PA", TScanStatus::ssSignal, false, true),
                                  MakeRow("S3.PA", TScanStatus::ssSignal, true, true)};
    for (int i = 0; i < 5; ++i) {
        rows.push_back(MakeRow("W" + std::to_string(i) + ".PA", TScanStatus::ssWatch));
    }
    for (int i = 0; i < 31; ++i) {
        rows.push_back(MakeRow("N" + std::to_string(i) + ".PA", TScanStatus::ssNone));
    }
    rows.push_back(MakeRow("E.PA", TScanStatus::ssError));
    return rows;
}

QString Cell(const TScannerResultsForm& AForm, int ALine, int AColumn) {
    return AForm.Model()->data(AForm.Model()->index(ALine, AColumn)).toString();
}

TEST(ScanCellsTest, PricesAndPercentagesFollowTheCellRules) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ScanPriceText(nan), "-");
    EXPECT_EQ(ScanPriceText(0), "-");
    EXPECT_EQ(ScanPriceText(12.5), "12,50");
    EXPECT_EQ(ScanPercentText(nan), "-");
    EXPECT_EQ(ScanPercentText(inf), "aucune");
    EXPECT_EQ(ScanPercentText(-1.25), "-1,3 %");

    TScanRow row = MakeRow("X.PA", TScanStatus::ssSignal);
    row.Score = 3;
    row.ZoneBottom = 10;
    row.ZoneTop = 11.5;
    row.Size.Valid = true;
    row.Size.Shares = 120;
    row.Size.Amount = 12345.6;
    row.Size.PctOfCapital = 12.34;
    row.Size.RiskAmount = 1000;
    EXPECT_EQ(ScanCellText(row, 2), "Societe X.PA");
    EXPECT_EQ(ScanCellText(row, 5), "10,00 - 11,50");
    EXPECT_EQ(ScanCellText(row, 12), "45");
    EXPECT_EQ(ScanCellText(row, 15), "3/4");
    EXPECT_EQ(ScanCellText(row, 16), "120");
    EXPECT_EQ(ScanCellText(row, 17), "12 346");
    EXPECT_EQ(ScanCellText(row, 18), "12,3 %");
    EXPECT_EQ(ScanCellText(row, 19), "1 000");

    row.StopPrice = 9.5;
    row.RiskPct = 5;
    row.MarginResPct = inf;
    EXPECT_EQ(ScanCellText(row, 10), "sans R");

    // A row without zone, size or verdict.
    const TScanRow none = MakeRow("Y.PA", TScanStatus::ssNone);
    EXPECT_EQ(ScanCellText(none, 5), "-");
    EXPECT_EQ(ScanCellText(none, 8), "-");
    EXPECT_EQ(ScanCellText(none, 15), "");
    EXPECT_EQ(ScanCellText(none, 16), "-");
    EXPECT_EQ(ScanCellText(none, 19), "-");
}

TEST(ScanCellsTest, EachCaptionStandsAboveItsCell) {
    TScanRow row = MakeRow("X.PA", TScanStatus::ssSignal, true);
    row.Score = 4;
    row.ZoneLabel = "S1";
    row.ZoneBottom = 10;
    row.ZoneTop = 11.5;
    row.DistSupportPct = 1.5;
    row.MarginResPct = 8.25;
    row.StopPrice = 9.5;
    row.RiskPct = 4;
    row.DistHighPct = -12;
    row.YieldPct = 3.1;
    row.OkSupport = row.OkMargin = row.OkMacd = true;
    row.Size.Valid = true;
    row.Size.Shares = 80;
    row.Size.Amount = 984;
    row.Size.PctOfCapital = 1;
    row.Size.RiskAmount = 224;
    row.ChangeSinceSignalPct = 0.5;
    row.SelectionNote = "retenu";
    row.Conditions = "RSI MACD";
    const std::pair<const char*, const char*> columns[] = {
        {"Statut", "SIGNAL"},
        {"Symbole", "X.PA"},
        {"Societe", "Societe X.PA"},
        {"Cours", "12,30"},
        {"Zone", "S1"},
        {"Bornes", "10,00 - 11,50"},
        {"Dist. support", "1,5 %"},
        {"Marge resist.", "8,3 %"},
        {"Stop", "9,50"},
        {"Risque", "4,0 %"},
        {"Gain/risque", "2,1"},
        {"Plus haut 1 an", "-12,0 %"},
        {"RSI", "45"},
        {"Rendement", "3,1 %"},
        {"Criteres", "3/4"},
        {"Note", "4/4"},
        {"Quantite", "80"},
        {"Montant", "984"},
        {"% capital", "1,0 %"},
        {"Perte au stop", "224"},
        {"Depuis signal", "0,5 %"},
        {"Etat du signal", "valide"},
        {"Portefeuille", "retenu"},
        {"Conditions", "RSI MACD"},
    };
    ASSERT_EQ(std::size(columns), static_cast<std::size_t>(ScanColumnCount));
    for (int i = 0; i < ScanColumnCount; ++i) {
        EXPECT_STREQ(ScanColumnCaption(i), columns[i].first);
        EXPECT_EQ(ScanCellText(row, i), columns[i].second) << columns[i].first;
    }
}

TEST(ScannerResultsFormTest, ListsSignalsAndWatchesOrEveryRowWithTheirStyles) {
    TScannerResultsForm form(nullptr);
    QAbstractItemModelTester tester(form.Model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(form.windowTitle(), "Scanner du jour - CAC 40");
    EXPECT_FALSE(form.BannerShown());

    form.SetRows(FortyRows(), "");
    EXPECT_EQ(form.InfoText(),
              "  3 signal(aux), 5 titre(s) a surveiller sur 40. Lignes en gras : signaux retenus "
              "dans les limites du portefeuille. Double-clic pour ouvrir le graphique. ");
    EXPECT_FALSE(form.findChild<QPushButton*>("openCsv")->isEnabled());
    ASSERT_EQ(form.Model()->rowCount(), 8);
    EXPECT_EQ(form.Model()->columnCount(), 24);
    EXPECT_EQ(form.Model()->headerData(23, Qt::Horizontal).toString(), "Conditions");

    struct TStyleCase {
        int Line;
        int Style;
        int Red;
        bool Bold;
    };
    const TStyleCase cases[] = {
        {0, 10, 168, true}, {1, 11, 224, false}, {2, 10, 168, true}, {3, 1, 250, false}};
    for (const TStyleCase& c : cases) {
        const QModelIndex index = form.Model()->index(c.Line, 0);
        EXPECT_EQ(form.Model()->data(index, TScanRowsModel::LineStyleRole).toInt(), c.Style);
        EXPECT_EQ(form.Model()->data(index, Qt::BackgroundRole).value<QBrush>().color().red(),
                  c.Red);
        const QVariant font = form.Model()->data(index, Qt::FontRole);
        EXPECT_EQ(font.isValid() && font.value<QFont>().bold(), c.Bold) << c.Line;
    }
    EXPECT_TRUE(form.Model()->data(form.Model()->index(1, 0), Qt::ForegroundRole).isValid());

    form.findChild<QCheckBox*>("showAll")->setChecked(true);
    ASSERT_EQ(form.Model()->rowCount(), 40);
    EXPECT_EQ(Cell(form, 39, 2), "Erreur de source : introuvable");
    EXPECT_EQ(Cell(form, 39, 12), "-");
    EXPECT_EQ(
        form.Model()->data(form.Model()->index(39, 0), Qt::BackgroundRole).value<QBrush>().color(),
        QColor(248, 224, 224));
    EXPECT_FALSE(form.Model()->data(form.Model()->index(10, 0), Qt::BackgroundRole).isValid());

    // The check box survives the next scan; the CSV is named at the end of the line.
    form.SetRows(FortyRows(), "/tmp/scanner.csv");
    EXPECT_EQ(form.Model()->rowCount(), 40);
    EXPECT_TRUE(form.InfoText().endsWith("graphique. Detail : /tmp/scanner.csv"));
    EXPECT_TRUE(form.findChild<QPushButton*>("openCsv")->isEnabled());
}

TEST(ScannerResultsFormTest, ColumnsFitTheirWidestText) {
    TScannerResultsForm form(nullptr);
    std::vector<TScanRow> rows = {MakeRow("A.PA", TScanStatus::ssSignal)};
    rows[0].Conditions = std::string(80, 'x');
    form.SetRows(rows, "");
    const QFontMetrics metrics(form.List()->font());
    EXPECT_GE(form.List()->columnWidth(23), metrics.horizontalAdvance(QString(80, 'x')));
    EXPECT_GE(form.List()->columnWidth(6), metrics.horizontalAdvance("Dist. support"));
}

TEST(ScannerResultsFormTest, SymbolColumnStaysInViewWhenScrolledRight) {
    TScannerResultsForm form(nullptr);
    form.SetRows(FortyRows(), "");
    form.resize(600, 300);
    form.show();
    QTableView* list = form.List();
    QTableView* frozen = form.FrozenColumn();
    ASSERT_NE(frozen, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
    ASSERT_GT(list->verticalScrollBar()->maximum(), 0);
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    ASSERT_LT(list->columnViewportPosition(1), -list->columnWidth(1));
    EXPECT_TRUE(frozen->isVisible());
    EXPECT_EQ(frozen->model(), list->model());
    EXPECT_FALSE(frozen->isColumnHidden(1));
    EXPECT_TRUE(frozen->isColumnHidden(2));
    EXPECT_EQ(frozen->x(), list->frameWidth());
    EXPECT_EQ(frozen->width(), list->columnWidth(0) + list->columnWidth(1));
    EXPECT_EQ(frozen->verticalScrollBar()->value(), list->verticalScrollBar()->value());
    // The status and symbol of the first visible line are the ones drawn at the left edge.
    const QModelIndex shown = frozen->indexAt(QPoint(4, 4));
    EXPECT_EQ(shown.column(), 0);
    EXPECT_EQ(shown.row(), list->rowAt(4));
    EXPECT_EQ(frozen->indexAt(QPoint(list->columnWidth(0) + 4, 4)).column(), 1);

    // A click on the frozen symbol selects the line in the grid.
    QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_TRUE(list->selectionModel()->isRowSelected(shown.row(), {}));
}

TEST(ScannerResultsFormTest, BannerColourFollowsTheMarketContext) {
    struct TBannerCase {
        bool Valid;
        TMarketPhase Phase;
        QColor Colour;
    };
    const TBannerCase cases[] = {{false, TMarketPhase::mpUnknown, QColor(248, 224, 224)},
                                 {true, TMarketPhase::mpOversold, QColor(184, 232, 184)},
                                 {true, TMarketPhase::mpNearHigh, QColor(228, 228, 228)}};
    TScannerResultsForm form(nullptr);
    for (const TBannerCase& c : cases) {
        const TMarketContext context = Context(c.Valid, c.Phase);
        form.SetRows(FortyRows(), "", context);
        EXPECT_TRUE(form.BannerShown());
        EXPECT_EQ(form.BannerColor(), c.Colour);
        EXPECT_EQ(form.BannerText(),
                  QString::fromStdString("  " + context.Summary() + "\n  " + context.Advice()));
    }
}

TEST(ScannerResultsFormTest, DoubleClickOrEnterOpensTheSelectedSymbol) {
    TScannerResultsForm form(nullptr);
    std::vector<std::string> opened;
    QObject::connect(&form, &TScannerResultsForm::OpenSymbolRequested,
                     [&](const QString& ASymbol) { opened.push_back(ASymbol.toStdString()); });
    form.SetRows(FortyRows(), "");
    form.show();
    QTableView* list = form.List();

    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(opened.empty()) << "nothing selected";

    list->selectRow(3);
    QTest::keyClick(list, Qt::Key_Return);
    const QRect cell = list->visualRect(form.Model()->index(1, 5));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(opened, (std::vector<std::string>{"W0.PA", "S2.PA"}));
}

TEST(ScannerResultsFormTest, TabFollowsTheScreenOrderFromTheButtonsToTheGrid) {
    TScannerResultsForm form(nullptr);
    form.SetRows(FortyRows(), "scanner.csv");
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* openCsv = form.findChild<QPushButton*>("openCsv");
    ASSERT_NE(openCsv, nullptr);
    ASSERT_TRUE(openCsv->isEnabled());
    openCsv->setFocus();
    for (const char* next : {"showAll", "list"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), next);
    }
}

}  // namespace
}  // namespace cotalys
