#include <QFileDialog>
#include <QSettings>
#include <exception>
#include <filesystem>
#include <vector>

#include "core/Core.h"
#include "notify/Notify.h"
#include "scanner/Scanner.h"
#include "ui/MainForm.h"
#include "ui/MessageBox.h"
#include "ui/ScannerResultsForm.h"
#include "ui/UiText.h"
#include "ui/WindowState.h"

namespace cotalys {
namespace {

// When the window last looked at the scan log, as a scan log time.
const QString ScanLogSeenKey = QStringLiteral("scanner/journal_vu");

}  // namespace

void TMainForm::OpenScanResultsClick() {
    const std::filesystem::path latest = LatestScanCsv(CotalysDir());
    QFileDialog dialog(this, QStringLiteral("Ouvrir les resultats du scanner"),
                       ToQ(CotalysDir().string()));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("Resultats du scanner (scanner_*.csv)"),
                           QStringLiteral("Fichiers CSV (*.csv)")});
    if (!latest.empty()) {
        dialog.selectFile(ToQ(latest.string()));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    ShowScanResults(FromQ(dialog.selectedFiles().constFirst()));
}

bool TMainForm::ShowScanResults(const std::filesystem::path& AFile) {
    std::vector<TScanRow> rows;
    try {
        rows = ReadScanCsv(AFile);
    } catch (const std::exception& e) {
        Log(e.what());
        ShowMessage(this, TMessageKind::mkError,
                    ToQ(e.what()) + QStringLiteral("\n\nChoisissez un fichier scanner_*.csv ecrit "
                                                   "par le scanner du jour."));
        return false;
    }
    // A new window, so that no banner of an earlier scan stays over rows read from a file; Qt
    // deletes the earlier one, which this window owns, once it is closed.
    if (FScanForm) {
        FScanForm->setAttribute(Qt::WA_DeleteOnClose);
        FScanForm->close();
    }
    NewScanForm();
    FScanForm->SetRows(rows, AFile.string());
    FScanForm->show();
    FScanForm->raise();
    Log(Format("Resultats du scanner lus dans %s : %d ligne(s)", AFile.string(), rows.size()));
    return true;
}

void TMainForm::NewScanForm() {
    FScanForm = new TScannerResultsForm(this);
    connect(FScanForm, &TScannerResultsForm::OpenSymbolRequested, this,
            [this](const QString& ASymbol) { OpenSymbol(FromQ(ASymbol)); });
}

void TMainForm::NoteScheduledScan() {
    // Without a log there is nothing to tell, and nothing to remember: the first logged run
    // is news at the next start.
    const auto last = LastScanLogEntry(ScanLogFile());
    if (!last) {
        return;
    }
    QSettings state(WindowStateFile(), QSettings::IniFormat);
    if (last->Time > FromQ(state.value(ScanLogSeenKey).toString())) {
        SetStatus(
            ToQ(Format("Scan planifie du %s : %d signal(aux), %d titre(s) a surveiller%s "
                       "(Analyse, Ouvrir les resultats du scanner...)",
                       last->Time, last->Signals, last->Watch,
                       last->ExitCode == 0 ? "" : ", termine en echec")));
    }
    state.setValue(ScanLogSeenKey, ToQ(LocalTimeText()));
}

}  // namespace cotalys
