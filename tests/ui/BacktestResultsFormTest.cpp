#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "chart/ChartView.h"
#include "ui/BacktestResultsForm.h"
#include "ui/MainFormFixture.h"

namespace cotalys {
namespace {

using test::OnNextModal;
using test::TMainFormFixture;

class BacktestResultsFormTest : public TMainFormFixture {
protected:
    void RunBacktestOf(const std::string& ASymbols) {
        Form().SetSymbolListFile(FFiles.Write("cac40.txt", ASymbols));
        Child<QComboBox>("years")->setCurrentIndex(0);
        Child<QPushButton>("backtest")->click();
        WaitIdle();
    }
};

bool HoldsColour(const QImage& AImage, TColor AColor) {
    const QRgb wanted = qRgb(RedOf(AColor), GreenOf(AColor), BlueOf(AColor));
    for (int y = 0; y < AImage.height(); ++y) {
        for (int x = 0; x < AImage.width(); ++x) {
            if (AImage.pixel(x, y) == wanted) {
                return true;
            }
        }
    }
    return false;
}

TEST_F(BacktestResultsFormTest, OpensAfterARunRedrawsAtItsSizeAndSavesItsPicture) {
    StartQuoteService();
    RunBacktestOf("AI.PA\nBN.PA\n");
    // The report is logged as before the window existed.
    EXPECT_TRUE(Form().LogText().contains("Ecart a la reference (IC 95 %"));
    EXPECT_TRUE(Form().LogText().contains("  Detail des signaux : "));
    TBacktestResultsForm* results = Form().BacktestForm();
    ASSERT_NE(results, nullptr);
    EXPECT_TRUE(results->isVisible());
    EXPECT_EQ(results->windowTitle(), "Resultats du backtest");
    EXPECT_FALSE(results->isModal());
    ASSERT_EQ(results->Figures().Years.size(), 2u);
    const QString info = results->InfoText();
    ASSERT_TRUE(info.startsWith("Detail : ")) << info.toStdString();
    const std::filesystem::path csv = info.mid(9).toStdString();
    EXPECT_TRUE(std::filesystem::exists(csv));
    EXPECT_TRUE(results->findChild<QPushButton*>("openCsv")->isEnabled());

    for (const QSize size : {QSize(900, 650), QSize(1300, 900)}) {
        results->resize(size);
        QCoreApplication::processEvents();
        const QImage shot = results->Picture()->grab().toImage();
        EXPECT_EQ(shot.size(), results->Picture()->size());
        EXPECT_TRUE(HoldsColour(shot, BacktestSettingColor));
        EXPECT_TRUE(HoldsColour(shot, BacktestReferenceColor));
    }

    const auto target = FFiles.Path() / "backtest.png";
    QString proposed;
    test::OnNextFileDialog(target, proposed);
    results->findChild<QPushButton*>("savePng")->click();
    EXPECT_EQ(proposed.toStdString(),
              std::filesystem::path(csv).replace_extension(".png").string());
    const QImage saved(QString::fromStdString(target.string()));
    EXPECT_EQ(saved.size(), QSize(1600, 1000));
    EXPECT_FALSE(saved.allGray());
    EXPECT_EQ(results->InfoText().toStdString(), "Graphique enregistre : " + target.string());

    // The second page: the portfolio simulation, with its own picture and button.
    QTabWidget* pages = results->Pages();
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(1), "&Portefeuille");
    EXPECT_FALSE(results->Portfolio().Empty());
    pages->setCurrentIndex(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(HoldsColour(results->PortfolioPicture()->grab().toImage(), PortfolioStrategyColor));
    const auto portfolioTarget = FFiles.Path() / "portefeuille.png";
    test::OnNextFileDialog(portfolioTarget, proposed);
    results->findChild<QPushButton*>("savePortfolioPng")->click();
    EXPECT_EQ(proposed.toStdString(),
              (csv.parent_path() / (csv.stem().string() + "_portefeuille.png")).string());
    const QImage portfolio(QString::fromStdString(portfolioTarget.string()));
    EXPECT_EQ(portfolio.size(), QSize(1600, 1000));
    EXPECT_TRUE(HoldsColour(portfolio, PortfolioStrategyColor));
    pages->setCurrentIndex(0);

    // The next run shows its results in the same window.
    RunBacktestOf("AI.PA\n");
    EXPECT_EQ(Form().BacktestForm(), results);
    EXPECT_TRUE(results->InfoText().startsWith("Detail : "));
}

TEST_F(BacktestResultsFormTest, NoWindowWhenNothingWasAnalysed) {
    StartQuoteService();
    RunBacktestOf("ZZ.PA\n");
    EXPECT_TRUE(Form().LogText().contains("Backtest sur 0 titre(s)"));
    EXPECT_EQ(Form().BacktestForm(), nullptr);
}

}  // namespace
}  // namespace cotalys
