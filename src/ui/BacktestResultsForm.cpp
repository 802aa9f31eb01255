#include "ui/BacktestResultsForm.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
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

// The picture of the figures it is given, drawn anew at its size on every paint.
class TBacktestPictureView : public QWidget {
public:
    TBacktestPictureView(QWidget* AOwner, const TBacktestFigures& AFigures)
        : QWidget(AOwner), FFigures(AFigures), FFont(ChartFont()) {
        setMinimumSize(400, 300);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        DrawBacktestPicture(painter, FFigures, width(), height(), FFont);
    }

private:
    const TBacktestFigures& FFigures;
    QFont FFont;
};

}  // namespace

TBacktestResultsForm::TBacktestResultsForm(QWidget* AOwner) : QWidget(AOwner, Qt::Window) {
    setWindowTitle(QStringLiteral("Resultats du backtest"));
    ApplyWindowFont(this);
    resize(Scaled(this, 1200), Scaled(this, 800));
    CentreOnOwner(this, AOwner);

    const TResultsLayout parts = BuildResultsLayout(this);
    FInfo = parts.Info;
    FSavePng = new QPushButton(QStringLiteral("Enregistrer en PNG..."), this);
    FSavePng->setObjectName(QStringLiteral("savePng"));
    FSavePng->setToolTip(QStringLiteral("Enregistre ce graphique en image PNG de 1600 x 1000"));
    connect(FSavePng, &QPushButton::clicked, this, &TBacktestResultsForm::SavePngClick);
    FOpenCsv = NewOpenCsvButton(
        this,
        QStringLiteral("Ouvre le detail des signaux avec l'application associee aux fichiers CSV"));
    connect(FOpenCsv, &QPushButton::clicked, this, [this] { OpenWithDesktop(this, FCsvFile); });
    parts.Buttons->addWidget(FSavePng);
    parts.Buttons->addWidget(FOpenCsv);
    FPicture = new TBacktestPictureView(this, FFigures);
    FPicture->setObjectName(QStringLiteral("picture"));
    parts.Column->addWidget(FPicture, 1);
}

void TBacktestResultsForm::SetResults(const TBacktestFigures& AFigures,
                                      const std::string& ACsvFile) {
    FFigures = AFigures;
    FCsvFile = ToQ(ACsvFile);
    FOpenCsv->setEnabled(!FCsvFile.isEmpty());
    FInfo->setText(FCsvFile.isEmpty() ? QStringLiteral("Detail des signaux non ecrit")
                                      : QStringLiteral("Detail : ") + FCsvFile);
    FPicture->update();
}

QString TBacktestResultsForm::InfoText() const {
    return FInfo->text();
}

void TBacktestResultsForm::SavePngClick() {
    std::filesystem::path proposed =
        DocumentsDir() /
        Format("backtest_%s.png", FormatDateTime("yyyymmdd", Today(), DefaultFormatSettings()));
    if (!FCsvFile.isEmpty()) {
        proposed = std::filesystem::path(FromQ(FCsvFile)).replace_extension(".png");
    }
    const QString fileName = AskPngFileName(this, proposed);
    if (fileName.isEmpty()) {
        return;
    }
    try {
        SaveBacktestToPng(FFigures, FromQ(fileName));
        FInfo->setText(QStringLiteral("Graphique enregistre : ") + fileName);
    } catch (const std::exception& e) {
        ShowMessage(this, TMessageKind::mkError,
                    QStringLiteral("Enregistrement impossible : ") + QString::fromUtf8(e.what()));
    }
}

}  // namespace cotalys
