#include <QPushButton>

#include "chart/ChartView.h"
#include "ui/MainForm.h"
#include "ui/MessageBox.h"
#include "ui/UiText.h"
#include "zones/SupportResistance.h"

namespace cotalys {

namespace {

// Fewest bars an analysis accepts.
constexpr int MinimumBars = 60;
// Issue lines of the parse report shown in the log.
constexpr int ReportIssueLines = 30;
// A signal on one of the last four bars is recent enough to size a position for.
constexpr int RecentSignalBars = 3;

std::string WithoutTrailingBreaks(std::string AText) {
    while (!AText.empty() &&
           (AText.back() == ' ' || AText.back() == '\r' || AText.back() == '\n')) {
        AText.pop_back();
    }
    return AText;
}

}  // namespace

void TMainForm::LoadCompleted(std::unique_ptr<TPriceSeries> ASeries, const TParseReport& AReport,
                              const std::string& AErrMsg, TDateTime ADisplayFrom) {
    SetBusy(false);
    if (!AReport.SourceName().empty()) {
        Log(WithoutTrailingBreaks(AReport.Details(ReportIssueLines)));
    }
    if (!AErrMsg.empty()) {
        ASeries.reset();
        Log(AErrMsg);
        SetStatus(QStringLiteral("Echec du chargement"));
        ShowMessage(this, TMessageKind::mkError, ToQ(AErrMsg));
        return;
    }

    std::unique_ptr<TTechnicalAnalysis> analysis;
    std::unique_ptr<TVolumeColorizer> colorizer;
    try {
        if (ASeries->Count() < MinimumBars) {
            throw EIndicatorError(Format("Historique trop court : %d seances (minimum %d)",
                                         ASeries->Count(), MinimumBars));
        }
        analysis = std::make_unique<TTechnicalAnalysis>(ASeries.get(), TMACDParams::Default(), 14);
        analysis->Compute();
        colorizer = std::make_unique<TVolumeColorizer>(20);
        colorizer->Compute(*ASeries);
    } catch (const std::exception& e) {
        colorizer.reset();
        analysis.reset();
        ASeries.reset();
        Log(std::string("Calcul des indicateurs : ") + e.what());
        SetStatus(QStringLiteral("Echec du calcul"));
        ShowMessage(this, TMessageKind::mkError, QString::fromUtf8(e.what()));
        return;
    }

    // The chart drops its references before the objects it draws are replaced.
    FChart->ClearData("");
    FreeAnalysis();
    FSeries = std::move(ASeries);
    FAnalysis = std::move(analysis);
    FColorizer = std::move(colorizer);
    FChart->SetData(FSeries.get(), FAnalysis.get(), FColorizer.get(), ADisplayFrom);
    FBtnExport->setEnabled(true);

    if (FSeries->First().Date > ADisplayFrom) {
        Log("Note : historique plus court que la marge de chauffe, les premieres valeurs MACD "
            "sont moins fiables");
    }
    const int first = FChart->Scene().First;
    Log(FAnalysis->SignalSummary(first));
    ReviewZones();
    ReviewSignals();
    SetStatus(
        ToQ(Format("%s : %d seances affichees (%d chargees), du %s au %s", FSeries->Symbol(),
                   FSeries->Count() - first, FSeries->Count(),
                   FrenchDate(FSeries->GetBar(first).Date), FrenchDate(FSeries->Last().Date))));
}

void TMainForm::ReviewZones() {
    try {
        const TSupportResistanceAnalyzer analyzer(TSRParams::Default());
        const TSRResult sr = analyzer.Analyze(*FSeries);
        FChart->SetZones(sr.Zones);
        Log(sr.Summary(FrenchFormatSettings()));
        const std::vector<double>& macd = FAnalysis->MACD().MACD;
        const double macdLast = macd.empty() ? std::nan("") : macd.back();
        std::string report;
        const bool met = TEntryFilter::Default().Evaluate(sr, macdLast, report);
        Log(report +
            (met ? " => criteres techniques reunis" : " => criteres techniques non reunis"));
    } catch (const std::exception& e) {
        Log(std::string("Supports/resistances : ") + e.what());
    }
}

void TMainForm::ReviewSignals() {
    try {
        TEntrySignalDetector detector(TSignalParams::Default(), TSRParams::Default());
        detector.SetMarket(FMarket.get());
        const int first = FChart->Scene().First;
        const std::vector<TEntrySignal> found = detector.Scan(*FSeries, *FAnalysis, first);
        FChart->SetSignals(found);
        Log(FormatReport(*FSeries, found));
        if (!found.empty() && found.back().Index >= FSeries->Count() - RecentSignalBars) {
            const TEntrySignal& recent = found.back();
            const TFormatSettings fs = FrenchFormatSettings();
            // The entry quoted is the last close, where a position would be bought today.
            const double close = FSeries->Last().Close;
            const std::string text =
                Format("Signal recent du %s, entree au dernier cours %s, stop %s. ",
                       FormatDateTime("dd/mm/yyyy", recent.Date, fs),
                       FormatFloat("0.00", close, fs), FormatFloat("0.00", recent.StopPrice, fs));
            const TPositionSize size =
                ComputePositionSize(FSizing, close, recent.StopPrice, FSeries->Symbol());
            Log(text + size.Describe());
        }
        Log(CompareVariants(*FSeries, *FAnalysis, first, TSRParams::Default(), StandardVariants(),
                            FMarket.get()));
    } catch (const std::exception& e) {
        Log(std::string("Signal d'entree : ") + e.what());
    }
}

}  // namespace cotalys
