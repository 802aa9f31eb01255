#include "ui/ResultsWindow.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/MessageBox.h"

namespace cotalys {

void CentreOnOwner(QWidget* AWindow, const QWidget* AOwner) {
    if (AOwner != nullptr) {
        AWindow->move(AOwner->geometry().center() - AWindow->rect().center());
    }
}

TResultsLayout BuildResultsLayout(QWidget* AWindow) {
    auto* column = new QVBoxLayout(AWindow);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* panel = new QWidget(AWindow);
    panel->setFixedHeight(36);
    auto* strip = new QHBoxLayout(panel);
    strip->setContentsMargins(8, 0, 8, 0);
    auto* info = new QLabel(panel);
    info->setObjectName(QStringLiteral("info"));
    strip->addWidget(info, 1);
    column->addWidget(panel);
    return {column, info, strip};
}

QPushButton* NewOpenCsvButton(QWidget* AParent, const QString& AToolTip) {
    auto* button = new QPushButton(QStringLiteral("Ouvrir le CSV"), AParent);
    button->setObjectName(QStringLiteral("openCsv"));
    button->setToolTip(AToolTip);
    button->setEnabled(false);
    return button;
}

void OpenWithDesktop(QWidget* AParent, const QString& AFile) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(AFile))) {
        ShowMessage(AParent, TMessageKind::mkWarning,
                    QStringLiteral("Ouverture impossible : ") + AFile);
    }
}

}  // namespace cotalys
