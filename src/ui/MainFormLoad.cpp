#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>

#include "chart/ChartView.h"
#include "ui/BackgroundTask.h"
#include "ui/Captions.h"
#include "ui/FileFilter.h"
#include "ui/MainForm.h"
#include "ui/MessageBox.h"
#include "ui/UiText.h"

namespace cotalys {

void TMainForm::SourceChange() {
    const int source = FComboSource->currentIndex();
    FBtnBrowse->setEnabled(source == static_cast<int>(TSourceKind::skLocalFile));
    switch (source) {
        case static_cast<int>(TSourceKind::skQuoteService):
            FEditLocation->setPlaceholderText(
                QStringLiteral("URL de secours (optionnelle) avec {SYMBOL}, {FROM}, {TO}"));
            break;
        case static_cast<int>(TSourceKind::skHtmlPage):
            FEditLocation->setPlaceholderText(
                QStringLiteral("URL de la page historique, ex. https://.../{SYMBOL}/historique"));
            break;
        case static_cast<int>(TSourceKind::skLocalFile):
            FEditLocation->setPlaceholderText(
                QStringLiteral("Chemin du fichier .csv, .htm ou .json"));
            break;
        default:
            break;
    }
}

QString TMainForm::PickPriceFile() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QtFileFilter(PriceFileFilter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void TMainForm::BrowseClick() {
    const QString file = PickPriceFile();
    if (!file.isEmpty()) {
        FEditLocation->setText(file);
    }
}

void TMainForm::OpenFileClick() {
    if (FBusy) {
        return;
    }
    const QString file = PickPriceFile();
    if (file.isEmpty()) {
        return;
    }
    FComboSource->setCurrentIndex(static_cast<int>(TSourceKind::skLocalFile));
    FEditLocation->setText(file);
    LoadClick();
}

TDateTime TMainForm::EndDate() {
    // A window left open past midnight: "today" moves on, a past day chosen by hand stays.
    int year = 0;
    int month = 0;
    int day = 0;
    DecodeDate(Today(), year, month, day);
    const QDate today(year, month, day);
    const bool followsToday = FEditEndDate->date() == FEditEndDate->maximumDate();
    FEditEndDate->setMaximumDate(today);
    if (followsToday) {
        FEditEndDate->setDate(today);
    }
    const QDate date = FEditEndDate->date();
    return EncodeDate(date.year(), date.month(), date.day());
}

void TMainForm::LoadClick() {
    if (FBusy) {
        return;
    }
    TLoadRequest request;
    IHistoricalDataProviderPtr provider;
    try {
        request = TLoadRequest::For(FromQ(FEditSymbol->text()),
                                    SourceKindAt(FComboSource->currentIndex()),
                                    FromQ(FEditLocation->text()), EndDate());
        provider = BuildProvider(request);
    } catch (const std::exception& e) {
        Log(std::string("Configuration : ") + e.what());
        ShowMessage(this, TMessageKind::mkWarning, QString::fromUtf8(e.what()));
        return;
    }
    Log(request.StartLine(*provider));
    // Disabling the symbol box moves the focus on; it comes back when the load ends.
    QWidget* focus = QApplication::focusWidget();
    FFocusBeforeLoad = focus != nullptr && isAncestorOf(focus) ? focus : nullptr;
    FLoading = true;
    FBtnLoad->setText(StopCaption);
    SetBusy(true);
    StartLoad(request, std::move(provider));
}

void TMainForm::EndLoad() {
    FLoading = false;
    FBtnLoad->setText(LoadCaption);
    SetBusy(false);
    if (FFocusBeforeLoad && FFocusBeforeLoad->isEnabled()) {
        FFocusBeforeLoad->setFocus(Qt::OtherFocusReason);
    }
    FFocusBeforeLoad = nullptr;
    // The next symbol typed replaces this one.
    FEditSymbol->selectAll();
}

void TMainForm::StopClick() {
    if (FLoading) {
        // The load's completion, when it comes, is then stale and dropped.
        FCancelLoad->store(true);
        ++FLoadJob;
        EndLoad();
        Log("Chargement interrompu");
        SetStatus(QStringLiteral("Chargement interrompu"));
    } else if (FBacktestRunning && FBtnBacktest->isEnabled()) {
        BacktestClick();
    } else if (FScanRunning && FBtnScan->isEnabled()) {
        ScanClick();
    }
}

void TMainForm::StartLoad(const TLoadRequest& ARequest, IHistoricalDataProviderPtr AProvider) {
    const std::uint64_t job = ++FLoadJob;
    FCancelLoad = std::make_shared<std::atomic<bool>>(false);
    const QPointer<QObject> window(this);
    StartBackgroundTask([this, window, job, ARequest, AProvider, cancel = FCancelLoad]() {
        std::shared_ptr<TSymbolLoad> load;
        {
            // A stop ends the transfer in progress at once.
            const TTransferCancelScope cancelTransfers(cancel.get());
            load = std::make_shared<TSymbolLoad>(LoadSymbol(ARequest, *AProvider));
        }
        // A stopped load's completion is stale, and the guard drops it should the window be gone.
        PostToInterface(window, [this, job, load, displayFrom = ARequest.DisplayFrom]() {
            LoadFinished(job, *load, displayFrom);
        });
    });
}

void TMainForm::LoadFinished(std::uint64_t AJob, TSymbolLoad& ALoad, TDateTime ADisplayFrom) {
    // A completion for an older request than the last one started, or for a stopped one, is
    // stale.
    if (AJob != FLoadJob || !FLoading) {
        return;
    }
    EndLoad();
    FMarket = std::move(ALoad.Market);
    const TReviewLog log = [this](const std::string& AText) { Log(AText); };
    ALoad.LogReport(log);
    if (!ALoad.Succeeded()) {
        Log(ALoad.Error);
        SetStatus(QStringLiteral("Echec du chargement"));
        QString message = ToQ(ALoad.Error);
        if (ALoad.SystemError) {
            message.prepend(QStringLiteral("Erreur du systeme pendant le chargement :\n"));
        }
        if (!ALoad.Hint.empty()) {
            message += QLatin1Char('\n') + ToQ(ALoad.Hint);
        }
        ShowMessage(this, TMessageKind::mkError, message);
        return;
    }
    auto review = std::make_unique<TSymbolReview>(std::move(*ALoad.Series), ADisplayFrom,
                                                  FMarket.get(), FSizing);
    // The line the review starts on, which the log shows first once it is written.
    const int firstLine = FLog->blockCount();
    if (!review->Run(log)) {
        Log(review->ErrorText());
        SetStatus(QStringLiteral("Echec du calcul"));
        ShowMessage(this, TMessageKind::mkError, ToQ(review->ErrorMessage()));
        return;
    }
    ShowReview(std::move(review), firstLine);
}

void TMainForm::ShowReview(std::unique_ptr<TSymbolReview> AReview, int AFirstLine) {
    // The chart drops its references before the objects it draws are replaced.
    FChart->ClearData("");
    FReview = std::move(AReview);
    const TPriceSeries& series = FReview->Series();
    FChart->SetData(&series, &FReview->Analysis(), &FReview->Colorizer(), FReview->DisplayFrom());
    FChart->SetZones(FReview->Zones());
    FChart->SetSignals(FReview->Signals());
    FBtnExport->setEnabled(true);
    const int first = FReview->First();
    SetStatus(ToQ(Format("%s : %d seances affichees (%d chargees), du %s au %s", series.Symbol(),
                         series.Count() - first, series.Count(),
                         FrenchDate(series.GetBar(first).Date), FrenchDate(series.Last().Date))));
    setWindowTitle(ToQ(series.Symbol()) + QStringLiteral(" - Cotalys"));
    UpdateActions();
    // The summary, the filter's verdict and the sizing are read first, not the last table.
    FLog->setTextCursor(QTextCursor(FLog->document()->findBlockByNumber(AFirstLine)));
    FLog->verticalScrollBar()->setValue(AFirstLine);
}

void TMainForm::OpenSymbol(const std::string& ASymbol) {
    if (FBusy) {
        SetStatus(QStringLiteral("Chargement en cours, reessayer dans un instant"));
        return;
    }
    FEditSymbol->setText(ToQ(ASymbol));
    // The scan judged today, so the chart it opens ends today.
    FEditEndDate->setDate(FEditEndDate->maximumDate());
    FComboSource->setCurrentIndex(static_cast<int>(TSourceKind::skQuoteService));
    SourceChange();
    show();
    raise();
    activateWindow();
    LoadClick();
}

}  // namespace cotalys
