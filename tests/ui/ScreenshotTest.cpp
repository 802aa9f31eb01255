#include <QDialog>
#include <QPixmap>
#include <cstdlib>

#include "ui/MainFormFixture.h"
#include "ui/ScannerResultsForm.h"

namespace cotalys {
namespace {

using test::DataPath;
using test::OnNextModal;
using test::TMainFormFixture;

// Pictures of the windows for the documentation, written by scripts/screenshots.sh into the
// folder named by COTALYS_SCREENSHOT_DIR; skipped in ordinary test runs.
class ScreenshotTest : public TMainFormFixture {
protected:
    void SetUp() override {
        const char* folder = std::getenv("COTALYS_SCREENSHOT_DIR");
        if (folder == nullptr || *folder == '\0') {
            GTEST_SKIP() << "COTALYS_SCREENSHOT_DIR not set";
        }
        FFolder = QString::fromLocal8Bit(folder);
        TMainFormFixture::SetUp();
    }

    void Save(QWidget& AWidget, const char* AName) {
        EXPECT_TRUE(AWidget.grab().save(FFolder + "/" + AName)) << AName;
    }

    QString FFolder;
};

TEST_F(ScreenshotTest, MainWindowResultsWindowAndSizingDialog) {
    StartQuoteService();
    std::string symbols;
    for (const auto& entry : std::filesystem::directory_iterator(DataPath("demo"))) {
        const std::string name = entry.path().stem().string();
        if (entry.path().extension() == ".csv" && name.front() != '^') {
            symbols += name + "\n";
        }
    }
    Form().SetSymbolListFile(FFiles.Write("cac40.txt", symbols));
    Form().ScanClick();
    WaitIdle();
    TScannerResultsForm* results = Form().ScanForm();
    ASSERT_NE(results, nullptr);
    results->resize(1400, 600);
    Save(*results, "scanner.png");

    Load("AI.PA", 0);
    ASSERT_NE(Form().Series(), nullptr);
    Save(Form(), "main-window.png");

    OnNextModal([this](QWidget* ADialog) {
        Save(*ADialog, "sizing-dialog.png");
        static_cast<QDialog*>(ADialog)->reject();
    });
    Form().SizingClick();
}

}  // namespace
}  // namespace cotalys
