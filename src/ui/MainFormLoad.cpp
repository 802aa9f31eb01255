#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

#include "chart/ChartView.h"
#include "ui/BackgroundTask.h"
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

void TMainForm::BrowseClick() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QtFileFilter(PriceFileFilter));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        FEditLocation->setText(dialog.selectedFiles().constFirst());
    }
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
                                    FromQ(FEditLocation->text()), Today());
        provider = BuildProvider(request);
    } catch (const std::exception& e) {
        Log(std::string("Configuration : ") + e.what());
        ShowMessage(this, TMessageKind::mkWarning, QString::fromUtf8(e.what()));
        return;
    }
    Log(request.StartLine(*provider));
    SetBusy(true);
    StartLoad(request, std::move(provider));
}

void TMainForm::StartLoad(const TLoadRequest& ARequest, IHistoricalDataProviderPtr AProvider) {
    const std::uint64_t job = ++FLoadJob;
    const QPointer<QObject> window(this);
    StartBackgroundTask([this, window, job, ARequest, AProvider]() {
        auto load = std::make_shared<TSymbolLoad>(LoadSymbol(ARequest, *AProvider));
        // The window cannot close while busy, and the guard drops the step should it be gone.
        PostToInterface(window, [this, job, load, displayFrom = ARequest.DisplayFrom]() {
            LoadFinished(job, *load, displayFrom);
        });
    });
}

void TMainForm::LoadFinished(std::uint64_t AJob, TSymbolLoad& ALoad, TDateTime ADisplayFrom) {
    // A completion for an older request than the last one started is stale.
    if (AJob != FLoadJob) {
        return;
    }
    SetBusy(false);
    FMarket = std::move(ALoad.Market);
    const TReviewLog log = [this](const std::string& AText) { Log(AText); };
    ALoad.LogReport(log);
    if (!ALoad.Succeeded()) {
        Log(ALoad.Error);
        SetStatus(QStringLiteral("Echec du chargement"));
        ShowMessage(this, TMessageKind::mkError, ToQ(ALoad.Error));
        return;
    }
    auto review = std::make_unique<TSymbolReview>(std::move(*ALoad.Series), ADisplayFrom,
                                                  FMarket.get(), FSizing);
    if (!review->Run(log)) {
        Log(review->ErrorText());
        SetStatus(QStringLiteral("Echec du calcul"));
        ShowMessage(this, TMessageKind::mkError, ToQ(review->ErrorMessage()));
        return;
    }
    ShowReview(std::move(review));
}

void TMainForm::ShowReview(std::unique_ptr<TSymbolReview> AReview) {
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
}

void TMainForm::OpenSymbol(const std::string& ASymbol) {
    if (FBusy) {
        SetStatus(QStringLiteral("Chargement en cours, reessayer dans un instant"));
        return;
    }
    FEditSymbol->setText(ToQ(ASymbol));
    FComboSource->setCurrentIndex(static_cast<int>(TSourceKind::skQuoteService));
    SourceChange();
    show();
    raise();
    activateWindow();
    LoadClick();
}

}  // namespace cotalys
