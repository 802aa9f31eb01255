#include "ui/PngSaveDialog.h"

#include <QFileDialog>

#include "ui/FileFilter.h"
#include "ui/UiText.h"

namespace cotalys {

QString AskPngFileName(QWidget* AParent, const std::filesystem::path& AProposed) {
    QFileDialog dialog(AParent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QtFileFilter(PngFileFilter));
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.setDirectory(ToQ(AProposed.parent_path().string()));
    dialog.selectFile(ToQ(AProposed.filename().string()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace cotalys
