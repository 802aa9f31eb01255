// The window and the scans that ran without it: a scanner CSV shown in the results window, and
// the status bar telling of a scheduled scan.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "notify/Notify.h"
#include "scanner/Scanner.h"
#include "support/OfflineQuotes.h"
#include "ui/MainFormFixture.h"
#include "ui/ScanRowsModel.h"
#include "ui/ScannerResultsForm.h"

namespace cotalys {
namespace {

class ScanResultsWindowTest : public test::TMainFormFixture {
protected:
    // Every cell of the grid, line by line.
    static std::vector<QStringList> Grid(const TScannerResultsForm& AForm) {
        std::vector<QStringList> lines;
        for (int line = 0; line < AForm.Model()->rowCount(); ++line) {
            QStringList cells;
            for (int column = 0; column < AForm.Model()->columnCount(); ++column) {
                cells << AForm.Model()->data(AForm.Model()->index(line, column)).toString();
            }
            lines.push_back(cells);
        }
        return lines;
    }

    void WriteScanLog(const std::string& ALines) {
        std::filesystem::create_directories(FState.Path() / "cotalys");
        std::ofstream(FState.Path() / "cotalys/scan.log", std::ios::app) << ALines;
    }
};

TEST_F(ScanResultsWindowTest, AScannerCsvShowsAsTheScanShowedIt) {
    bool inMenu = false;
    for (QAction* action : Form().menuBar()->findChildren<QAction*>()) {
        inMenu = inMenu || action->text() == "&Ouvrir les resultats du scanner...";
    }
    EXPECT_TRUE(inMenu);

    std::vector<TScanRow> rows;
    std::filesystem::path file;
    {
        const test::TOfflineQuotes quotes({"AI.PA", "BNP.PA", "OR.PA", "SAN.PA", "MC.PA", "^FCHI"});
        setenv("COTALYS_DOCUMENTS_DIR", FDocuments.Path().c_str(), 1);
        TDailyScanner scanner({"AI.PA", "BNP.PA", "OR.PA", "SAN.PA", "MC.PA", "NONE.PA"});
        scanner.SetDelayMs(0);
        rows = scanner.Run(nullptr, nullptr);
        file = scanner.CsvFileName();
    }
    setenv("COTALYS_DOCUMENTS_DIR", FDocuments.Path().c_str(), 1);
    ASSERT_EQ(LatestScanCsv(CotalysDir()), file);

    ASSERT_TRUE(Form().ShowScanResults(file));
    TScannerResultsForm* shown = Form().ScanForm();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_FALSE(shown->BannerShown());
    TScannerResultsForm live(nullptr);
    live.SetRows(rows, file.string());
    EXPECT_EQ(shown->InfoText(), live.InfoText());
    ASSERT_GT(shown->Model()->rowCount(), 0);
    EXPECT_EQ(Grid(*shown), Grid(live));
    EXPECT_NE(Form().LogText().indexOf("Resultats du scanner lus dans "), -1);
}

TEST_F(ScanResultsWindowTest, AFileThatIsNotAScanSaysWhatToChoose) {
    const auto file = FFiles.Write("AI.PA.csv", "Date;Open;High;Low;Close;Volume\r\n");
    EXPECT_FALSE(Form().ShowScanResults(file));
    EXPECT_EQ(Form().ScanForm(), nullptr);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Kind, TMessageKind::mkError);
    EXPECT_TRUE(Messages()[0].Text.startsWith("Fichier du scanner illisible : "));
    EXPECT_TRUE(
        Messages()[0].Text.endsWith("Choisissez un fichier scanner_*.csv ecrit par le "
                                    "scanner du jour."));
}

TEST_F(ScanResultsWindowTest, TheStatusBarTellsOfAScheduledScanOnceAfterItRan) {
    // No log, nothing said.
    EXPECT_EQ(Form().StatusText().indexOf("Scan planifie"), -1);
    FForm.reset();

    // A run an hour before the window starts on the clock's day (18:00).
    WriteScanLog("2021-02-22 17:15:03 signaux=2 surveiller=3 erreurs=0 code=0\n");
    EXPECT_TRUE(Form().StatusText().startsWith(
        "Scan planifie du 2021-02-22 17:15:03 : 2 signal(aux), 3 titre(s) a surveiller "
        "(Analyse, Ouvrir les resultats du scanner...)"))
        << Form().StatusText().toStdString();
    FForm.reset();

    // Seen at the last start: not told again.
    EXPECT_EQ(Form().StatusText().indexOf("Scan planifie"), -1);
    FForm.reset();

    // A run after that start, which failed.
    WriteScanLog("2999-01-04 18:15:00 signaux=0 surveiller=0 erreurs=40 code=1\n");
    EXPECT_TRUE(Form().StatusText().startsWith(
        "Scan planifie du 2999-01-04 18:15:00 : 0 signal(aux), 0 titre(s) a surveiller, termine "
        "en echec"))
        << Form().StatusText().toStdString();
}

}  // namespace
}  // namespace cotalys
