#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

#include "chart/ChartView.h"
#include "ui/BackgroundTask.h"
#include "ui/FileFilter.h"
#include "ui/LoadTask.h"
#include "ui/MainForm.h"
#include "ui/MessageBox.h"
#include "ui/UiText.h"

namespace cotalys {

namespace {

enum TSourceIndex { siQuoteService = 0, siHtmlPage = 1, siLocalFile = 2 };

}  // namespace

IHistoricalDataProviderPtr TMainForm::BuildProvider() const {
    const std::string location = FromQ(FEditLocation->text().trimmed());
    switch (FComboSource->currentIndex()) {
        case siQuoteService:
            if (location.empty()) {
                return std::make_shared<TYahooChartProvider>();
            }
            // The location is then the optional fallback page, tried when the service fails.
            return std::make_shared<TFallbackProvider>(std::vector<IHistoricalDataProviderPtr>{
                std::make_shared<TYahooChartProvider>(),
                std::make_shared<THtmlPageProvider>(location, -1)});
        case siHtmlPage:
            if (location.empty()) {
                throw EDataProviderError("Indiquer l'URL de la page HTML");
            }
            return std::make_shared<THtmlPageProvider>(location, -1);
        case siLocalFile:
            if (location.empty()) {
                throw EDataProviderError("Choisir un fichier local");
            }
            return std::make_shared<TLocalFileProvider>(location);
        default:
            throw EDataProviderError("Source inconnue");
    }
}

void TMainForm::SourceChange() {
    const int source = FComboSource->currentIndex();
    FBtnBrowse->setEnabled(source == siLocalFile);
    switch (source) {
        case siQuoteService:
            FEditLocation->setPlaceholderText(
                QStringLiteral("URL de secours (optionnelle) avec {SYMBOL}, {FROM}, {TO}"));
            break;
        case siHtmlPage:
            FEditLocation->setPlaceholderText(
                QStringLiteral("URL de la page historique, ex. https://.../{SYMBOL}/historique"));
            break;
        case siLocalFile:
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
    IHistoricalDataProviderPtr provider;
    try {
        provider = BuildProvider();
    } catch (const std::exception& e) {
        Log(std::string("Configuration : ") + e.what());
        ShowMessage(this, TMessageKind::mkWarning, QString::fromUtf8(e.what()));
        return;
    }
    const TLoadRequest request =
        TLoadRequest::For(FromQ(FEditSymbol->text()), std::move(provider), Today());
    Log(Format("Chargement %s via %s (%s -> %s)", request.Symbol, request.Provider->Name(),
               FrenchDate(request.LoadFrom), FrenchDate(request.ToDate)));
    SetBusy(true);
    StartLoad(request);
}

void TMainForm::StartLoad(const TLoadRequest& ARequest) {
    const std::uint64_t job = ++FLoadJob;
    const QPointer<QObject> window(this);
    StartBackgroundTask([this, window, job, ARequest]() {
        auto result = std::make_shared<TLoadResult>(RunLoad(ARequest));
        // The window cannot close while busy, and the guard drops the step should it be gone.
        PostToInterface(window, [this, job, result, displayFrom = ARequest.DisplayFrom]() {
            LoadFinished(job, *result, displayFrom);
        });
    });
}

void TMainForm::LoadFinished(std::uint64_t AJob, TLoadResult& AResult, TDateTime ADisplayFrom) {
    // A completion for an older request than the last one started is stale.
    if (AJob != FLoadJob) {
        return;
    }
    FMarket.reset();
    if (AResult.IndexSeries) {
        try {
            FMarket = std::make_unique<TMarketRegime>(AResult.IndexSeries.get(), 50);
        } catch (const std::exception& e) {
            AResult.IndexMsg = std::string("Filtre de marche : ") + e.what();
        }
    }
    if (!AResult.IndexMsg.empty()) {
        Log(AResult.IndexMsg);
    }
    LoadCompleted(std::move(AResult.NewSeries), AResult.Report, AResult.ErrMsg, ADisplayFrom);
    AResult.IndexSeries.reset();
}

void TMainForm::OpenSymbol(const std::string& ASymbol) {
    if (FBusy) {
        SetStatus(QStringLiteral("Chargement en cours, reessayer dans un instant"));
        return;
    }
    FEditSymbol->setText(ToQ(ASymbol));
    FComboSource->setCurrentIndex(siQuoteService);
    SourceChange();
    show();
    raise();
    activateWindow();
    LoadClick();
}

}  // namespace cotalys
