#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/Core.h"
#include "review/Review.h"
#include "signals/EntrySignals.h"
#include "sizing/PositionSizing.h"

class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;

namespace cotalys {

class TBacktestResultsForm;
class TFocusMark;
class TScannerResultsForm;
class TStockChartView;
struct TBacktestOutcome;
struct TBatchFeedback;
struct TScanOutcome;

// The program's window: a menu bar reaching every function, the symbol, its end date, its source
// and the buttons of every function across the top, the chart, the log and the status bar. It
// routes: loads, batch runs and the sizing dialog call the library layers, and their results go
// to the chart, the log and the scanner results window. Its size, place, splitter and the last
// request are kept between runs in a state file of its own.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // Builds the window and loads the sizing settings from their file.
    explicit TMainForm(QWidget* AOwner = nullptr);
    ~TMainForm() override;

    // Appends "hh:nn:ss  AText" to the log; a text of several lines shows as several lines.
    void Log(const std::string& AText);
    // Switches between busy (controls disabled, busy cursor, "Chargement en cours...") and idle.
    void SetBusy(bool ABusy);
    // Starts loading the symbol from the chosen source up to the end date in the background
    // (nothing while busy).
    void LoadClick();
    // Ends the running load, backtest or scan from the user's point of view ("Arreter", Escape).
    void StopClick();
    // Picks a price file and loads it ("Ouvrir un fichier de cours...").
    void OpenFileClick();
    // Shows the version and the licences of the libraries the program uses.
    void AboutClick();
    // Loads ASymbol from the quote service, as asked by the scanner results window.
    void OpenSymbol(const std::string& ASymbol);
    // Starts the backtest, or asks the running one to stop.
    void BacktestClick();
    // Starts the daily scan, or asks the running one to stop.
    void ScanClick();
    // Edits the sizing settings and saves them when confirmed.
    void SizingClick();
    // Exports the chart as a 1600 x 1000 PNG under a name the user confirms.
    void ExportClick();
    // Picks a price file for the location box.
    void BrowseClick();
    // Picks a scanner CSV, the latest of the reports folder proposed, and shows its rows
    // ("Ouvrir les resultats du scanner...").
    void OpenScanResultsClick();
    // Shows the rows of the scanner CSV AFile in a fresh results window; false, with an error box,
    // for a file that is not one.
    bool ShowScanResults(const std::filesystem::path& AFile);

    // The symbol list of the batch runs ("cac40.txt" beside the executable by default).
    void SetSymbolListFile(const std::filesystem::path& AFileName) { FSymbolListFile = AFileName; }
    // Pause between two symbols of a batch run in milliseconds; negative keeps the run's own.
    void SetBatchDelayMs(int AValue) { FBatchDelayMs = AValue; }

    // True while a load, a backtest or a scan runs.
    bool Busy() const { return FBusy; }
    // True while a load runs.
    bool Loading() const { return FLoading; }
    // The status bar's text and the whole log, as the user reads them.
    QString StatusText() const;
    QString LogText() const;
    // The analysed series on display, the index regime of the last load and the settings.
    const TPriceSeries* Series() const { return FReview ? &FReview->Series() : nullptr; }
    const TMarketRegime* Market() const { return FMarket.get(); }
    const TSizingParams& Sizing() const { return FSizing; }
    // The chart and the scanner results window (null before the first scan with rows).
    TStockChartView* Chart() const { return FChart; }
    TScannerResultsForm* ScanForm() const;
    // The results window of the last backtest; null before the first one ends.
    TBacktestResultsForm* BacktestForm() const;
    // The top strip, for layout checks.
    QWidget* TopPanel() const { return FTopPanel; }
    // The log box, for scrolling checks.
    QPlainTextEdit* LogBox() const { return FLog; }
    // The menu bar's actions by their role, for shortcut checks.
    QAction* LoadAction() const { return FActLoad; }
    QAction* StopAction() const { return FActStop; }

protected:
    void closeEvent(QCloseEvent* AEvent) override;
    void showEvent(QShowEvent* AEvent) override;
    void changeEvent(QEvent* AEvent) override;
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

private:
    void BuildControls();
    void BuildTopStrip();
    void BuildMenus();
    void SetUpKeyboard();
    void UpdateActions();
    void RestoreState();
    void SaveState() const;
    // The end date of the next load, today's when the box shows the last day it allowed.
    TDateTime EndDate();
    QString PickPriceFile();
    void LayoutTopPanel();
    void SetStatus(const QString& AText);
    void SourceChange();
    // Says in the status bar that a scheduled scan ran since the window last looked.
    void NoteScheduledScan();
    // A new results window of the scanner, owned by this one, whose lines open their symbol here.
    void NewScanForm();

    void StartLoad(const TLoadRequest& ARequest, IHistoricalDataProviderPtr AProvider);
    void LoadFinished(std::uint64_t AJob, TSymbolLoad& ALoad, TDateTime ADisplayFrom);
    void EndLoad();
    void ShowReview(std::unique_ptr<TSymbolReview> AReview, int AFirstLine);

    // The symbols of a run: the list file's when it exists (logged after APrefix), else the
    // CAC 40. Throws when the list cannot be read.
    std::vector<std::string> RunSymbols(const std::string& APrefix);
    TBatchFeedback Feedback();
    void RequestStop(std::atomic<bool>& ACancel, QPushButton* AButton, const std::string& ALine);
    std::shared_ptr<std::atomic<bool>> BeginRun(bool& ARunning, QPushButton* AButton,
                                                const QString& ARunName, int ACount);
    void EndRun(bool& ARunning, QPushButton* AButton, const QString& ACaption,
                const QString& ARunName, const std::atomic<bool>& ACancel);
    void RunProgress(int AStarted);
    void BacktestFinished(TBacktestOutcome& AOutcome);
    void ScanFinished(TScanOutcome& AOutcome);

    QWidget* FTopPanel = nullptr;
    QLabel* FLblSymbol = nullptr;
    QLabel* FLblSource = nullptr;
    QLineEdit* FEditSymbol = nullptr;
    QLabel* FLblEndDate = nullptr;
    QDateEdit* FEditEndDate = nullptr;
    QComboBox* FComboSource = nullptr;
    QLineEdit* FEditLocation = nullptr;
    QPushButton* FBtnBrowse = nullptr;
    QPushButton* FBtnLoad = nullptr;
    QPushButton* FBtnExport = nullptr;
    QPushButton* FBtnBacktest = nullptr;
    QPushButton* FBtnScan = nullptr;
    QPushButton* FBtnSizing = nullptr;
    TSizingParams FSizing;
    QPointer<TScannerResultsForm> FScanForm;
    QPointer<TBacktestResultsForm> FBacktestForm;
    TStockChartView* FChart = nullptr;
    QSplitter* FSplitter = nullptr;
    QPlainTextEdit* FLog = nullptr;
    QLabel* FStatus = nullptr;
    QProgressBar* FProgress = nullptr;
    // The review on display, which owns the series and the analysis the chart draws.
    std::unique_ptr<TSymbolReview> FReview;
    std::unique_ptr<TMarketRegime> FMarket;
    QComboBox* FComboYears = nullptr;
    TFocusMark* FChartFocus = nullptr;
    QAction* FActOpen = nullptr;
    QAction* FActExport = nullptr;
    QAction* FActLoad = nullptr;
    QAction* FActBacktest = nullptr;
    QAction* FActScan = nullptr;
    QAction* FActStop = nullptr;
    // Where the keyboard focus was when the running load started.
    QPointer<QWidget> FFocusBeforeLoad;
    bool FBusy = false;
    bool FLoading = false;
    bool FUIReady = false;
    bool FBusyCursor = false;
    bool FBacktestRunning = false;
    bool FScanRunning = false;
    // Shared with the running tasks: a batch run reads its flag once per symbol, and every
    // transfer of a task ends once its flag is set.
    std::shared_ptr<std::atomic<bool>> FCancelBacktest;
    std::shared_ptr<std::atomic<bool>> FCancelScan;
    std::shared_ptr<std::atomic<bool>> FCancelLoad;
    std::uint64_t FLoadJob = 0;
    std::filesystem::path FSymbolListFile;
    int FBatchDelayMs = -1;
};

}  // namespace cotalys
