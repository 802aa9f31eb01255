#include "ui/BacktestResultsForm.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>

#include "chart/ChartView.h"
#include "core/Core.h"
#include "ui/MessageBox.h"
#include "ui/PngSaveDialog.h"
#include "ui/ResultsWindow.h"
#include "ui/UiText.h"
#include "ui/WindowFont.h"

namespace cotalys {

namespace {

// The picture of the figures it is given, drawn anew at its size on every paint by ADraw.
template <class TFigures>
class TPictureView : public QWidget {
public:
    using TDraw = void (*)(QPainter&, const TFigures&, int, int, const QFont&);

    TPictureView(QWidget* AOwner, const TFigures& AFigures, TDraw ADraw)
        : QWidget(AOwner), FFigures(AFigures), FDraw(ADraw), FFont(ChartFont()) {
        setMinimumSize(400, 300);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        FDraw(painter, FFigures, width(), height(), FFont);
    }

private:
    const TFigures& FFigures;
    TDraw FDraw;
    QFont FFont;
};

QPushButton* NewSavePngButton(QWidget* AOwner, const QString& AName, const QString& AToolTip) {
    auto* button = new QPushButton(QStringLiteral("Enregistrer en PNG..."), AOwner);
    button->setObjectName(AName);
    button->setToolTip(AToolTip);
    return button;
}

}  // namespace

TBacktestResultsForm::TBacktestResultsForm(QWidget* AOwner) : QWidget(AOwner, Qt::Window) {
    setWindowTitle(QStringLiteral("Resultats du backtest"));
    ApplyWindowFont(this);
    resize(Scaled(this, 1200), Scaled(this, 800));
    CentreOnOwner(this, AOwner);

    const TResultsLayout parts = BuildResultsLayout(this);
    FInfo = parts.Info;
    FSavePng = NewSavePngButton(this, QStringLiteral("savePng"),
                                QStringLiteral("Enregistre le graphique du backtest en image PNG "
                                               "de 1600 x 1000"));
    connect(FSavePng, &QPushButton::clicked, this, &TBacktestResultsForm::SavePngClick);
    FOpenCsv = NewOpenCsvButton(
        this,
        QStringLiteral("Ouvre le detail des signaux avec l'application associee aux fichiers CSV"));
    connect(FOpenCsv, &QPushButton::clicked, this, [this] { OpenWithDesktop(this, FCsvFile); });
    parts.Buttons->addWidget(FSavePng);
    parts.Buttons->addWidget(FOpenCsv);

    FPages = new QTabWidget(this);
    FPages->setObjectName(QStringLiteral("pages"));
    FPicture = new TPictureView<TBacktestFigures>(FPages, FFigures, DrawBacktestPicture);
    FPicture->setObjectName(QStringLiteral("picture"));
    FPages->addTab(FPicture, QStringLiteral("&Backtest"));

    auto* portfolioPage = new QWidget(FPages);
    auto* portfolioColumn = new QVBoxLayout(portfolioPage);
    auto* portfolioButtons = new QHBoxLayout();
    portfolioButtons->addStretch(1);
    auto* savePortfolio = NewSavePngButton(
        portfolioPage, QStringLiteral("savePortfolioPng"),
        QStringLiteral("Enregistre le graphique du portefeuille en image PNG de 1600 x 1000"));
    connect(savePortfolio, &QPushButton::clicked, this,
            &TBacktestResultsForm::SavePortfolioPngClick);
    portfolioButtons->addWidget(savePortfolio);
    portfolioColumn->addLayout(portfolioButtons);
    FPortfolioPicture =
        new TPictureView<TPortfolioFigures>(portfolioPage, FPortfolio, DrawPortfolioPicture);
    FPortfolioPicture->setObjectName(QStringLiteral("portfolioPicture"));
    portfolioColumn->addWidget(FPortfolioPicture, 1);
    FPages->addTab(portfolioPage, QStringLiteral("&Portefeuille"));
    parts.Column->addWidget(FPages, 1);
}

void TBacktestResultsForm::SetResults(const TBacktestFigures& AFigures,
                                      const TPortfolioFigures& APortfolio,
                                      const std::string& ACsvFile) {
    FFigures = AFigures;
    FPortfolio = APortfolio;
    FCsvFile = ToQ(ACsvFile);
    FOpenCsv->setEnabled(!FCsvFile.isEmpty());
    FInfo->setText(FCsvFile.isEmpty() ? QStringLiteral("Detail des signaux non ecrit")
                                      : QStringLiteral("Detail : ") + FCsvFile);
    FPicture->update();
    FPortfolioPicture->update();
}

QString TBacktestResultsForm::InfoText() const {
    return FInfo->text();
}

void TBacktestResultsForm::SavePngClick() {
    SavePicture(".png", [this](const std::string& AFile) { SaveBacktestToPng(FFigures, AFile); });
}

void TBacktestResultsForm::SavePortfolioPngClick() {
    SavePicture("_portefeuille.png",
                [this](const std::string& AFile) { SavePortfolioToPng(FPortfolio, AFile); });
}

void TBacktestResultsForm::SavePicture(const std::string& ASuffix,
                                       const std::function<void(const std::string&)>& ASave) {
    std::filesystem::path proposed =
        DocumentsDir() / Format("backtest_%s%s",
                                FormatDateTime("yyyymmdd", Today(), DefaultFormatSettings()),
                                ASuffix);
    if (!FCsvFile.isEmpty()) {
        const std::filesystem::path csv(FromQ(FCsvFile));
        proposed = csv.parent_path() / (csv.stem().string() + ASuffix);
    }
    const QString fileName = AskPngFileName(this, proposed);
    if (fileName.isEmpty()) {
        return;
    }
    try {
        ASave(FromQ(fileName));
        FInfo->setText(QStringLiteral("Graphique enregistre : ") + fileName);
    } catch (const std::exception& e) {
        ShowMessage(this, TMessageKind::mkError,
                    QStringLiteral("Enregistrement impossible : ") + QString::fromUtf8(e.what()));
    }
}

}  // namespace cotalys
