#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <array>
#include <functional>

#include "chart/ChartView.h"
#include "ui/FocusMark.h"
#include "ui/MainForm.h"
#include "ui/MessageBox.h"
#include "ui/WindowState.h"

namespace cotalys {

namespace {

// A menu entry with its mnemonic in ACaption and an optional shortcut.
QAction* AddAction(QMenu* AMenu, const QString& ACaption, const QKeySequence& AShortcut,
                   std::function<void()> AOnTrigger) {
    QAction* action = AMenu->addAction(ACaption);
    action->setShortcut(AShortcut);
    QObject::connect(action, &QAction::triggered, AMenu, std::move(AOnTrigger));
    return action;
}

const QString GeometryKey = QStringLiteral("fenetre/geometrie");
const QString SplitterKey = QStringLiteral("fenetre/separateur");
const QString SymbolKey = QStringLiteral("demande/symbole");
const QString SourceKey = QStringLiteral("demande/source");
const QString LocationKey = QStringLiteral("demande/emplacement");

}  // namespace

void TMainForm::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Fichier"));
    FActOpen = AddAction(file, QStringLiteral("&Ouvrir un fichier de cours..."),
                         QKeySequence(QStringLiteral("Ctrl+O")), [this]() { OpenFileClick(); });
    FActExport = AddAction(file, QStringLiteral("&Exporter le graphique en PNG..."),
                           QKeySequence(QStringLiteral("Ctrl+E")), [this]() { ExportClick(); });
    file->addSeparator();
    AddAction(file, QStringLiteral("&Quitter"), QKeySequence(QStringLiteral("Ctrl+Q")),
              [this]() { close(); });

    QMenu* analysis = menuBar()->addMenu(QStringLiteral("&Analyse"));
    FActLoad = AddAction(analysis, QStringLiteral("&Charger"), QKeySequence(Qt::Key_F5),
                         [this]() { LoadClick(); });
    FActBacktest = AddAction(analysis, QStringLiteral("&Backtest CAC 40"), QKeySequence(),
                             [this]() { BacktestClick(); });
    FActScan = AddAction(analysis, QStringLiteral("&Scanner du jour"), QKeySequence(),
                         [this]() { ScanClick(); });
    AddAction(analysis, QStringLiteral("&Ouvrir les resultats du scanner..."), QKeySequence(),
              [this]() { OpenScanResultsClick(); });
    analysis->addSeparator();
    FActStop = AddAction(analysis, QStringLiteral("A&rreter"), QKeySequence(Qt::Key_Escape),
                         [this]() { StopClick(); });

    QMenu* settings = menuBar()->addMenu(QStringLiteral("&Reglages"));
    AddAction(settings, QStringLiteral("&Taille de position..."), QKeySequence(),
              [this]() { SizingClick(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("Ai&de"));
    AddAction(help, QStringLiteral("&A propos de Cotalys"), QKeySequence(),
              [this]() { AboutClick(); });
    UpdateActions();
}

void TMainForm::SetUpKeyboard() {
    // The chart paints all of its surface, so its focus is drawn over it.
    FChartFocus = new TFocusMark(FChart);
    const std::array<QWidget*, 13> screenOrder = {
        FEditSymbol, FEditEndDate, FComboSource, FEditLocation, FBtnBrowse, FBtnLoad, FBtnExport,
        FBtnScan,    FBtnSizing,   FBtnBacktest, FComboYears,   FChart,     FLog};
    for (std::size_t i = 0; i + 1 < screenOrder.size(); ++i) {
        setTabOrder(screenOrder[i], screenOrder[i + 1]);
    }
    // The keyboard moves in the log (Ctrl+Home, Ctrl+End, pages) as in any read-only text.
    FLog->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void TMainForm::UpdateActions() {
    if (FActLoad == nullptr) {
        return;
    }
    FActOpen->setEnabled(!FBusy);
    FActLoad->setEnabled(!FBusy);
    FActBacktest->setEnabled(!FBusy);
    FActScan->setEnabled(!FBusy);
    FActExport->setEnabled(FBtnExport->isEnabled());
    // Escape reaches the other controls when there is nothing to stop.
    FActStop->setEnabled(FLoading || (FBacktestRunning && FBtnBacktest->isEnabled()) ||
                         (FScanRunning && FBtnScan->isEnabled()));
}

void TMainForm::AboutClick() {
    ShowMessage(
        this, TMessageKind::mkAbout,
        QStringLiteral(
            "<p><b>Cotalys %1</b><br>Analyse technique des valeurs du CAC 40 : graphique, signaux "
            "d'entree, backtest et scanner du jour.</p>"
            "<p>Bibliotheques utilisees :<br>"
            "Qt %2 (LGPL v3)<br>"
            "libcurl (licence curl, de type MIT)<br>"
            "PCRE2 (BSD)<br>"
            "nlohmann/json (MIT)<br>"
            "utf8proc (MIT)<br>"
            "SQLite (domaine public) et SQLiteCpp (MIT)<br>"
            "cpp-httplib (MIT)<br>"
            "CLI11 (BSD 3 clauses)<br>"
            "OpenSSL (Apache 2.0)</p>")
            .arg(QStringLiteral(COTALYS_VERSION), QString::fromLatin1(qVersion())));
}

void TMainForm::RestoreState() {
    const QSettings state(WindowStateFile(), QSettings::IniFormat);
    restoreGeometry(state.value(GeometryKey).toByteArray());
    FSplitter->restoreState(state.value(SplitterKey).toByteArray());
    if (state.contains(SymbolKey)) {
        FEditSymbol->setText(state.value(SymbolKey).toString());
    }
    const int source = state.value(SourceKey, 0).toInt();
    if (source >= 0 && source < FComboSource->count()) {
        FComboSource->setCurrentIndex(source);
    }
    FEditLocation->setText(state.value(LocationKey).toString());
}

void TMainForm::SaveState() const {
    // A state that cannot be written costs only the next start's layout: nothing is reported.
    QSettings state(WindowStateFile(), QSettings::IniFormat);
    state.setValue(GeometryKey, saveGeometry());
    state.setValue(SplitterKey, FSplitter->saveState());
    state.setValue(SymbolKey, FEditSymbol->text());
    state.setValue(SourceKey, FComboSource->currentIndex());
    state.setValue(LocationKey, FEditLocation->text());
}

}  // namespace cotalys
