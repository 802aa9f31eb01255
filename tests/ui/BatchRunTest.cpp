#include <QCheckBox>
#include <QProgressBar>
#include <QTableView>
#include <QTest>

#include "ui/MainFormFixture.h"
#include "ui/ScanCells.h"
#include "ui/ScanRowsModel.h"
#include "ui/ScannerResultsForm.h"

namespace cotalys {
namespace {

using test::TMainFormFixture;
using test::WaitFor;

class BatchRunTest : public TMainFormFixture {
protected:
    // A symbol list of its own, so runs stay short; returns its full path.
    std::string UseSymbols(const std::string& AContent) {
        const auto file = FFiles.Write("cac40.txt", AContent);
        Form().SetSymbolListFile(file);
        return file.string();
    }
};

TEST_F(BatchRunTest, ScanShowsItsRowsAndOpensASymbolOnDoubleClick) {
    StartQuoteService();
    const std::string list = UseSymbols("AI.PA\nBN.PA ; Danone\n# commentaire\nZZ.PA\n");
    auto* scan = Child<QPushButton>("scan");
    scan->click();
    EXPECT_TRUE(Form().Busy());
    EXPECT_EQ(Form().StatusText(), "Scanner en cours...");
    EXPECT_EQ(scan->text(), "Arreter");
    EXPECT_TRUE(scan->isEnabled());
    EXPECT_FALSE(Child<QPushButton>("backtest")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>("load")->isEnabled());
    EXPECT_TRUE(Child<QProgressBar>("runProgress")->isVisible());
    WaitIdle();

    const QString log = Form().LogText();
    EXPECT_GE(log.indexOf(QString::fromStdString("  3 symbole(s) lus dans " + list)), 0);
    EXPECT_GE(log.indexOf("  Scanner du jour lance sur 3 titre(s)..."), 0);
    EXPECT_GE(log.indexOf("  Taille de position : capital "), 0);
    EXPECT_GT(log.indexOf("  Detail du scanner : "), log.indexOf("ZZ.PA"));
    EXPECT_EQ(Form().StatusText(), "Scanner termine");
    EXPECT_EQ(scan->text(), "Scanner du jour");
    EXPECT_TRUE(scan->isEnabled());
    EXPECT_FALSE(Child<QProgressBar>("runProgress")->isVisible());

    TScannerResultsForm* results = Form().ScanForm();
    ASSERT_NE(results, nullptr);
    EXPECT_TRUE(results->isVisible());
    EXPECT_TRUE(results->BannerShown());
    EXPECT_TRUE(results->InfoText().contains("titre(s) a surveiller sur 3."));
    results->findChild<QCheckBox*>("showAll")->setChecked(true);
    TScanRowsModel* model = results->Model();
    ASSERT_EQ(model->rowCount(), 3);
    int errorLine = -1;
    int openLine = -1;
    for (int line = 0; line < model->rowCount(); ++line) {
        const TScanRow& row = model->Row(line);
        EXPECT_EQ(model->data(model->index(line, 0), TScanRowsModel::LineStyleRole).toInt(),
                  ScanLineStyle(row));
        if (row.Symbol == "ZZ.PA") {
            errorLine = line;
        } else if (row.Symbol == "AI.PA") {
            openLine = line;
        }
    }
    ASSERT_GE(errorLine, 0);
    EXPECT_EQ(model->Row(errorLine).Status, TScanStatus::ssError);
    ASSERT_GE(openLine, 0);

    QTableView* view = results->List();
    const QRect cell = view->visualRect(model->index(openLine, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(Form().Busy());
    WaitIdle();
    ASSERT_NE(Form().Series(), nullptr);
    EXPECT_EQ(Form().Series()->Symbol(), "AI.PA");
    EXPECT_EQ(Child<QComboBox>("source")->currentIndex(), 0);
}

TEST_F(BatchRunTest, StoppedScanRestoresItsButtonAndShowsNoEmptyWindow) {
    StartQuoteService();
    UseSymbols("AI.PA\nBN.PA\n");
    auto* scan = Child<QPushButton>("scan");
    scan->click();
    scan->click();
    EXPECT_FALSE(scan->isEnabled());
    EXPECT_TRUE(Form().LogText().endsWith("  Scanner : arret demande"));
    WaitIdle();
    EXPECT_EQ(Form().StatusText(), "Scanner interrompu");
    EXPECT_EQ(scan->text(), "Scanner du jour");
    EXPECT_TRUE(scan->isEnabled());
    EXPECT_EQ(Form().ScanForm(), nullptr);
}

TEST_F(BatchRunTest, BacktestRunsOverTheListForTheChosenPeriod) {
    StartQuoteService();
    UseSymbols("AI.PA\nBN.PA\n");
    Child<QComboBox>("years")->setCurrentIndex(0);
    auto* backtest = Child<QPushButton>("backtest");
    backtest->click();
    EXPECT_EQ(backtest->text(), "Arreter");
    EXPECT_EQ(Form().StatusText(), "Backtest en cours...");
    EXPECT_FALSE(Child<QPushButton>("scan")->isEnabled());
    Form().ScanClick();
    EXPECT_EQ(Form().LogText().count("Scanner du jour lance"), 0);
    WaitIdle();
    const QString log = Form().LogText();
    EXPECT_GE(log.indexOf("  Backtest lance sur 2 titre(s) et 1 an(s), quelques minutes..."), 0);
    EXPECT_GT(log.indexOf("[2/2]"), log.indexOf("[1/2]"));
    EXPECT_EQ(Form().StatusText(), "Backtest termine");
    EXPECT_EQ(backtest->text(), "Backtest CAC 40");
    EXPECT_TRUE(backtest->isEnabled());
}

TEST_F(BatchRunTest, ClosingDuringARunStopsItAndWaits) {
    StartQuoteService();
    UseSymbols("AI.PA\nBN.PA\n");
    Child<QPushButton>("backtest")->click();
    EXPECT_FALSE(Form().close());
    EXPECT_EQ(Form().StatusText(), "Chargement en cours : fermeture differee");
    WaitIdle();
    EXPECT_EQ(Form().StatusText(), "Backtest interrompu");
    EXPECT_TRUE(Form().close());
}

TEST_F(BatchRunTest, UnreadableSymbolListStartsNothing) {
    const std::string list = UseSymbols("# rien\n");
    Form().BacktestClick();
    EXPECT_FALSE(Form().Busy());
    EXPECT_TRUE(Form().LogText().contains("  Backtest : Aucun symbole dans"));
    Form().ScanClick();
    EXPECT_FALSE(Form().Busy());
    EXPECT_TRUE(Form().LogText().contains("  Scanner : Aucun symbole dans"));
}

}  // namespace
}  // namespace cotalys
