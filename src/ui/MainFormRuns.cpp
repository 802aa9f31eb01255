#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <filesystem>

#include "backtest/Backtest.h"
#include "ui/BackgroundTask.h"
#include "ui/BacktestResultsForm.h"
#include "ui/BatchTasks.h"
#include "ui/Captions.h"
#include "ui/MainForm.h"
#include "ui/ScannerResultsForm.h"
#include "ui/UiText.h"

namespace cotalys {

namespace {

const QString BacktestName = QStringLiteral("Backtest");
const QString ScanName = QStringLiteral("Scanner");

}  // namespace

TScannerResultsForm* TMainForm::ScanForm() const {
    return FScanForm;
}

TBacktestResultsForm* TMainForm::BacktestForm() const {
    return FBacktestForm;
}

TBatchFeedback TMainForm::Feedback() {
    const QPointer<QObject> window(this);
    return {[this, window](const std::string& ALine) {
                PostToInterface(window, [this, ALine]() { Log(ALine); });
            },
            [this, window](int AStarted) {
                PostToInterface(window, [this, AStarted]() { RunProgress(AStarted); });
            }};
}

void TMainForm::RunProgress(int AStarted) {
    FProgress->setValue(std::min(AStarted, FProgress->maximum()));
}

void TMainForm::RequestStop(std::atomic<bool>& ACancel, QPushButton* AButton,
                            const std::string& ALine) {
    ACancel.store(true);
    // The button stays disabled until the run's completion step restores it.
    AButton->setEnabled(false);
    Log(ALine);
    UpdateActions();
}

std::shared_ptr<std::atomic<bool>> TMainForm::BeginRun(bool& ARunning, QPushButton* AButton,
                                                       const QString& ARunName, int ACount) {
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    ARunning = true;
    SetBusy(true);
    SetStatus(ARunName + QStringLiteral(" en cours..."));
    AButton->setText(StopCaption);
    AButton->setEnabled(true);
    FProgress->setRange(0, std::max(ACount, 1));
    FProgress->setValue(0);
    FProgress->show();
    return cancel;
}

void TMainForm::EndRun(bool& ARunning, QPushButton* AButton, const QString& ACaption,
                       const QString& ARunName, const std::atomic<bool>& ACancel) {
    ARunning = false;
    SetBusy(false);
    FProgress->hide();
    AButton->setText(ACaption);
    AButton->setEnabled(true);
    SetStatus(ARunName +
              (ACancel.load() ? QStringLiteral(" interrompu") : QStringLiteral(" termine")));
    UpdateActions();
}

void TMainForm::BacktestClick() {
    TBatchSnapshot snapshot;
    snapshot.Sizing = FSizing;
    if (FBacktestRunning) {
        RequestStop(*FCancelBacktest, FBtnBacktest,
                    "Backtest : arret demande, fin apres le titre en cours");
        return;
    }
    if (FBusy) {
        return;
    }
    try {
        snapshot.Symbols = RunSymbols("Backtest : ");
    } catch (const std::exception& e) {
        Log(std::string("Backtest : ") + e.what());
        return;
    }
    snapshot.Years = YearsChoices[static_cast<std::size_t>(
        std::clamp(FComboYears->currentIndex(), 0, static_cast<int>(YearsChoices.size()) - 1))];
    snapshot.DelayMs = FBatchDelayMs;
    Log(Format("Backtest lance sur %d titre(s) et %d an(s), quelques minutes...",
               snapshot.Symbols.size(), snapshot.Years));

    FCancelBacktest = BeginRun(FBacktestRunning, FBtnBacktest, BacktestName,
                               static_cast<int>(snapshot.Symbols.size()));
    snapshot.Cancel = FCancelBacktest;

    const QPointer<QObject> window(this);
    StartBackgroundTask([this, window, snapshot, feedback = Feedback()]() {
        auto outcome = std::make_shared<TBacktestOutcome>(RunBacktestTask(snapshot, feedback));
        PostToInterface(window, [this, outcome]() { BacktestFinished(*outcome); });
    });
}

void TMainForm::BacktestFinished(TBacktestOutcome& AOutcome) {
    Log(AOutcome.Report);
    EndRun(FBacktestRunning, FBtnBacktest, BacktestCaption, BacktestName, *FCancelBacktest);
    if (AOutcome.Figures.Empty()) {
        return;
    }
    if (!FBacktestForm) {
        FBacktestForm = new TBacktestResultsForm(this);
    }
    FBacktestForm->SetResults(AOutcome.Figures, AOutcome.Portfolio, AOutcome.CsvFile);
    FBacktestForm->show();
    FBacktestForm->raise();
}

std::vector<std::string> TMainForm::RunSymbols(const std::string& APrefix) {
    TSymbolList list = ChooseSymbolList(FSymbolListFile);
    if (!list.File.empty()) {
        Log(APrefix + list.ReadNote());
    }
    return std::move(list.Symbols);
}

void TMainForm::ScanClick() {
    TBatchSnapshot snapshot;
    snapshot.Sizing = FSizing;
    if (FScanRunning) {
        RequestStop(*FCancelScan, FBtnScan, "Scanner : arret demande");
        return;
    }
    if (FBusy) {
        return;
    }
    try {
        snapshot.Symbols = RunSymbols("");
    } catch (const std::exception& e) {
        Log(std::string("Scanner : ") + e.what());
        return;
    }
    snapshot.DelayMs = FBatchDelayMs;
    Log(Format("Scanner du jour lance sur %d titre(s)...", snapshot.Symbols.size()));
    Log("Taille de position : " + FSizing.Summary());

    FCancelScan =
        BeginRun(FScanRunning, FBtnScan, ScanName, static_cast<int>(snapshot.Symbols.size()));
    snapshot.Cancel = FCancelScan;

    const QPointer<QObject> window(this);
    StartBackgroundTask([this, window, snapshot, feedback = Feedback()]() {
        auto outcome = std::make_shared<TScanOutcome>(RunScanTask(snapshot, feedback));
        PostToInterface(window, [this, outcome]() { ScanFinished(*outcome); });
    });
}

void TMainForm::ScanFinished(TScanOutcome& AOutcome) {
    Log(AOutcome.Report);
    if (!AOutcome.CsvFile.empty()) {
        Log("Detail du scanner : " + AOutcome.CsvFile);
    } else if (!AOutcome.CsvError.empty()) {
        Log("CSV non ecrit : " + AOutcome.CsvError);
    }
    EndRun(FScanRunning, FBtnScan, ScanCaption, ScanName, *FCancelScan);
    if (AOutcome.Rows.empty()) {
        return;
    }
    if (!FScanForm) {
        NewScanForm();
    }
    FScanForm->SetRows(AOutcome.Rows, AOutcome.CsvFile, AOutcome.Market);
    FScanForm->show();
    FScanForm->raise();
}

}  // namespace cotalys
