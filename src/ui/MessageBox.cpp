#include "ui/MessageBox.h"

#include <QMessageBox>
#include <utility>

namespace cotalys {

namespace {

void ShowModalBox(QWidget* AParent, TMessageKind AKind, const QString& AText) {
    const QString title = QStringLiteral("Cotalys");
    switch (AKind) {
        case TMessageKind::mkError:
            QMessageBox::critical(AParent, title, AText, QMessageBox::Ok);
            break;
        case TMessageKind::mkWarning:
            QMessageBox::warning(AParent, title, AText, QMessageBox::Ok);
            break;
        case TMessageKind::mkAbout:
            QMessageBox::about(AParent, QStringLiteral("A propos de Cotalys"), AText);
            break;
    }
}

TMessagePresenter& Presenter() {
    static TMessagePresenter presenter;
    return presenter;
}

}  // namespace

void ShowMessage(QWidget* AParent, TMessageKind AKind, const QString& AText) {
    if (Presenter()) {
        Presenter()(AParent, AKind, AText);
    } else {
        ShowModalBox(AParent, AKind, AText);
    }
}

TMessagePresenter SetMessagePresenter(TMessagePresenter APresenter) {
    return std::exchange(Presenter(), std::move(APresenter));
}

}  // namespace cotalys
