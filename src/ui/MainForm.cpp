#include "ui/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWindow>
#include <functional>

#include "backtest/Backtest.h"
#include "chart/ChartView.h"
#include "ui/Captions.h"
#include "ui/FocusMark.h"
#include "ui/MessageBox.h"
#include "ui/PngSaveDialog.h"
#include "ui/ScannerResultsForm.h"
#include "ui/SizingSettingsForm.h"
#include "ui/TopStripLayout.h"
#include "ui/UiText.h"
#include "ui/WindowFont.h"
#include "ui/WindowState.h"

namespace cotalys {

namespace {

// A push button of the top strip at its first place, with its tooltip and click handler.
QPushButton* AddButton(QWidget* AParent, const QString& ACaption, const QRect& ABounds,
                       const QString& AToolTip, std::function<void()> AOnClick) {
    auto* button = new QPushButton(ACaption, AParent);
    button->setGeometry(ABounds);
    // Enter on the focused button activates it, as Space does.
    button->setAutoDefault(true);
    if (!AToolTip.isEmpty()) {
        button->setToolTip(AToolTip);
    }
    QObject::connect(button, &QPushButton::clicked, AParent, std::move(AOnClick));
    return button;
}

QLabel* AddLabel(QWidget* AParent, const QString& ACaption, int ALeft, int ATop) {
    auto* label = new QLabel(ACaption, AParent);
    label->move(ALeft, ATop);
    label->adjustSize();
    return label;
}

QComboBox* AddList(QWidget* AParent, const QStringList& AItems, int ASelected,
                   const QRect& ABounds) {
    auto* list = new QComboBox(AParent);
    list->addItems(AItems);
    list->setCurrentIndex(ASelected);
    list->setGeometry(ABounds);
    return list;
}

const QString BusyStatus = QStringLiteral("Chargement en cours...");

}  // namespace

TMainForm::TMainForm(QWidget* AOwner) : QMainWindow(AOwner) {
    setWindowTitle(QStringLiteral("Analyse technique - MACD / RSI / Volumes"));
    ApplyWindowFont(this);
    resize(1280, 860);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    FSymbolListFile = SymbolListFile();
    FSizing.LoadFromIni(TSizingParams::IniFileName());
    BuildControls();
    BuildMenus();
    SetUpKeyboard();
    RestoreState();
    NoteScheduledScan();
    FUIReady = true;
    FTopPanel->installEventFilter(this);
}

TMainForm::~TMainForm() {
    if (FChart != nullptr) {
        FChart->ClearData("");
    }
    FReview.reset();
    FMarket.reset();
    if (FBusyCursor) {
        QApplication::restoreOverrideCursor();
    }
}

void TMainForm::BuildControls() {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(central);

    FTopPanel = new QWidget(central);
    FTopPanel->setObjectName(QStringLiteral("topPanel"));
    FTopPanel->setFixedHeight(44);
    column->addWidget(FTopPanel);
    BuildTopStrip();

    FStatus = new QLabel(this);
    FStatus->setObjectName(QStringLiteral("status"));
    statusBar()->addWidget(FStatus, 1);
    FProgress = new QProgressBar(this);
    FProgress->setObjectName(QStringLiteral("runProgress"));
    FProgress->setFormat(QStringLiteral("titre %v sur %m"));
    FProgress->setMaximumWidth(220);
    FProgress->hide();
    statusBar()->addPermanentWidget(FProgress);

    FSplitter = new QSplitter(Qt::Vertical, central);
    FSplitter->setHandleWidth(4);
    FSplitter->setChildrenCollapsible(false);
    column->addWidget(FSplitter, 1);
    FChart = new TStockChartView(FSplitter);
    FLog = new QPlainTextEdit(FSplitter);
    FLog->setObjectName(QStringLiteral("log"));
    FLog->setReadOnly(true);
    FLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    ApplyLogFont(FLog);
    FSplitter->addWidget(FChart);
    FSplitter->addWidget(FLog);
    FSplitter->setStretchFactor(0, 1);
    FSplitter->setStretchFactor(1, 0);
    FSplitter->setSizes({height() - 44 - 150, 150});
}

void TMainForm::BuildTopStrip() {
    QWidget* strip = FTopPanel;
    FLblSymbol = AddLabel(strip, SymbolCaption, 8, 14);
    FEditSymbol = new QLineEdit(QStringLiteral("RNO.PA"), strip);
    FEditSymbol->setObjectName(QStringLiteral("symbol"));
    FEditSymbol->setGeometry(60, 10, 100, 23);
    FLblEndDate = AddLabel(strip, EndDateCaption, 164, 14);
    FEditEndDate = new QDateEdit(strip);
    FEditEndDate->setObjectName(QStringLiteral("endDate"));
    FEditEndDate->setLocale(QLocale(QLocale::French, QLocale::France));
    FEditEndDate->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    FEditEndDate->setCalendarPopup(true);
    FEditEndDate->setToolTip(
        QStringLiteral("Dernier jour charge : aujourd'hui, ou un jour passe a revoir"));
    int year = 0;
    int month = 0;
    int day = 0;
    DecodeDate(Today(), year, month, day);
    FEditEndDate->setMaximumDate(QDate(year, month, day));
    FEditEndDate->setDate(QDate(year, month, day));
    FLblSource = AddLabel(strip, SourceCaption, 172, 14);
    FComboSource = AddList(strip, SourceCaptions, 0, QRect(216, 10, 170, 23));
    FComboSource->setObjectName(QStringLiteral("source"));
    connect(FComboSource, &QComboBox::currentIndexChanged, this, &TMainForm::SourceChange);
    FEditLocation = new QLineEdit(strip);
    FEditLocation->setObjectName(QStringLiteral("location"));
    FEditLocation->setGeometry(396, 10, 480, 23);
    FEditLocation->setPlaceholderText(
        QStringLiteral("URL de secours (optionnelle) avec {SYMBOL}, {FROM}, {TO}"));
    FBtnBrowse = AddButton(strip, BrowseCaption, QRect(882, 9, 32, 25), QString(),
                           [this]() { BrowseClick(); });
    FBtnBrowse->setObjectName(QStringLiteral("browse"));
    FBtnBrowse->setEnabled(false);
    // While a load runs the load button is its stop button.
    FBtnLoad = AddButton(strip, LoadCaption, QRect(924, 9, 100, 25), QString(), [this]() {
        if (FLoading) {
            StopClick();
        } else {
            LoadClick();
        }
    });
    FBtnLoad->setObjectName(QStringLiteral("load"));
    FBtnExport = AddButton(strip, ExportCaption, QRect(1030, 9, 100, 25), QString(),
                           [this]() { ExportClick(); });
    FBtnExport->setObjectName(QStringLiteral("export"));
    FBtnExport->setEnabled(false);
    FBtnBacktest =
        AddButton(strip, BacktestCaption, QRect(1136, 9, 120, 25),
                  QStringLiteral("Teste les reglages du signal sur toutes les valeurs du "
                                 "CAC 40 (cac40.txt pres de l'exe pour une autre liste)"),
                  [this]() { BacktestClick(); });
    FBtnBacktest->setObjectName(QStringLiteral("backtest"));
    FBtnScan = AddButton(strip, ScanCaption, QRect(1340, 9, 120, 25),
                         QStringLiteral("Signaux et titres proches d'un support aujourd'hui sur le "
                                        "CAC 40"),
                         [this]() { ScanClick(); });
    FBtnScan->setObjectName(QStringLiteral("scan"));
    FBtnSizing = AddButton(strip, SizingCaption, QRect(1470, 9, 90, 25),
                           QStringLiteral("Capital, risque par position et frais pour le calcul de "
                                          "la taille des positions"),
                           [this]() { SizingClick(); });
    FBtnSizing->setObjectName(QStringLiteral("sizing"));
    FComboYears = AddList(strip, YearsCaptions, DefaultYearsIndex, QRect(1260, 10, 70, 23));
    FComboYears->setObjectName(QStringLiteral("years"));
    FComboYears->setToolTip(QStringLiteral("Periode du backtest"));
}

void TMainForm::LayoutTopPanel() {
    if (!FUIReady || !isVisible()) {
        return;
    }
    const TTopStripLayout layout = LayoutTopStrip(QFontMetrics(font()), FTopPanel->width());
    FTopPanel->setFixedHeight(layout.StripHeight);
    const std::array<QWidget*, StripItemCount> controls = {
        FLblSymbol, FEditSymbol, FLblEndDate, FEditEndDate, FLblSource, FComboSource, FEditLocation,
        FBtnBrowse, FBtnLoad,    FBtnExport,  FBtnScan,     FBtnSizing, FBtnBacktest, FComboYears};
    for (int i = 0; i < StripItemCount; ++i) {
        const auto item = static_cast<TStripItem>(i);
        QWidget* control = controls[i];
        const int controlHeight = TTopStripLayout::TakesControlHeight(item)
                                      ? layout.ControlHeight
                                      : control->sizeHint().height();
        const TStripSlot& slot = layout.Slot(item);
        control->setGeometry(slot.Left, (layout.StripHeight - controlHeight) / 2, slot.Width,
                             controlHeight);
    }
}

bool TMainForm::eventFilter(QObject* AWatched, QEvent* AEvent) {
    if (AWatched == FTopPanel && AEvent->type() == QEvent::Resize) {
        LayoutTopPanel();
    }
    // Enter that a control of the top strip left (the buttons take it) loads, as the default
    // button of the window; the chart and the log keep theirs.
    if (AWatched == FTopPanel && AEvent->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(AEvent)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            LoadClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(AWatched, AEvent);
}

void TMainForm::showEvent(QShowEvent* AEvent) {
    QMainWindow::showEvent(AEvent);
    if (QWindow* window = windowHandle()) {
        connect(window, &QWindow::screenChanged, this, &TMainForm::LayoutTopPanel,
                Qt::UniqueConnection);
    }
    LayoutTopPanel();
}

void TMainForm::changeEvent(QEvent* AEvent) {
    QMainWindow::changeEvent(AEvent);
    if (AEvent->type() == QEvent::FontChange) {
        LayoutTopPanel();
    }
}

void TMainForm::Log(const std::string& AText) {
    const std::string stamp = FormatDateTime("hh:nn:ss", Now(), DefaultFormatSettings());
    FLog->appendPlainText(ToQ(stamp) + QStringLiteral("  ") + ReportLines(AText));
    // The new line shows even when the user had moved up in the log.
    FLog->moveCursor(QTextCursor::End);
}

QString TMainForm::LogText() const {
    return FLog->toPlainText();
}

QString TMainForm::StatusText() const {
    return FStatus->text();
}

void TMainForm::SetStatus(const QString& AText) {
    FStatus->setText(AText);
}

void TMainForm::SetBusy(bool ABusy) {
    FBusy = ABusy;
    // A running load keeps its button as the stop button.
    FBtnLoad->setEnabled(!ABusy || FLoading);
    FComboSource->setEnabled(!ABusy);
    FEditSymbol->setEnabled(!ABusy);
    FEditEndDate->setEnabled(!ABusy);
    if (!FBacktestRunning) {
        FBtnBacktest->setEnabled(!ABusy);
    }
    if (!FScanRunning) {
        FBtnScan->setEnabled(!ABusy);
    }
    FComboYears->setEnabled(!ABusy);
    if (ABusy) {
        if (!FBusyCursor) {
            QApplication::setOverrideCursor(Qt::BusyCursor);
            FBusyCursor = true;
        }
        SetStatus(BusyStatus);
    } else if (FBusyCursor) {
        QApplication::restoreOverrideCursor();
        FBusyCursor = false;
    }
    UpdateActions();
}

void TMainForm::closeEvent(QCloseEvent* AEvent) {
    if (FScanRunning && FCancelScan) {
        FCancelScan->store(true);
    }
    if (FBacktestRunning && FCancelBacktest) {
        FCancelBacktest->store(true);
    }
    if (FBusy) {
        SetStatus(QStringLiteral("Chargement en cours : fermeture differee"));
        AEvent->ignore();
        return;
    }
    if (FScanForm) {
        FScanForm->close();
    }
    SaveState();
    AEvent->accept();
}

void TMainForm::ExportClick() {
    if (!FReview) {
        return;
    }
    const QString fileName = AskPngFileName(
        this,
        DocumentsDir() / Format("%s_%s.png", FReview->Series().Symbol(),
                                FormatDateTime("yyyymmdd", Today(), DefaultFormatSettings())));
    if (fileName.isEmpty()) {
        return;
    }
    try {
        FChart->SaveToPng(FromQ(fileName), ChartPngWidth, ChartPngHeight);
        Log("Graphique exporte : " + FromQ(fileName));
    } catch (const std::exception& e) {
        ShowMessage(this, TMessageKind::mkError,
                    QStringLiteral("Export impossible : ") + QString::fromUtf8(e.what()));
    }
}

void TMainForm::SizingClick() {
    TSizingParams edited = FSizing;
    if (!TSizingSettingsForm::Execute(this, edited)) {
        return;
    }
    try {
        edited.SaveToIni(TSizingParams::IniFileName());
    } catch (const std::exception& e) {
        ShowMessage(this, TMessageKind::mkError,
                    QStringLiteral("Enregistrement impossible : ") + QString::fromUtf8(e.what()));
        return;
    }
    FSizing = edited;
    Log("Reglages de taille enregistres : " + FSizing.Summary());
}

}  // namespace cotalys
