#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <vector>

#include "ui/MessageBox.h"

namespace cotalys::test {

// One message box the windows asked for.
struct TShownMessage {
    TMessageKind Kind;
    QString Text;
};

// Records the message boxes instead of showing them, for the lifetime of the object.
class TMessageRecorder {
public:
    TMessageRecorder() {
        FPrevious = SetMessagePresenter([this](QWidget*, TMessageKind AKind, const QString& AText) {
            FMessages.push_back({AKind, AText});
        });
    }
    ~TMessageRecorder() { SetMessagePresenter(FPrevious); }
    TMessageRecorder(const TMessageRecorder&) = delete;
    TMessageRecorder& operator=(const TMessageRecorder&) = delete;

    const std::vector<TShownMessage>& Messages() const { return FMessages; }

private:
    TMessagePresenter FPrevious;
    std::vector<TShownMessage> FMessages;
};

// Processes events until ACondition holds or a generous bound passes; returns ACondition().
inline bool WaitFor(const std::function<bool()>& ACondition, int ABoundMs = 60000) {
    const QDeadlineTimer deadline(ABoundMs);
    while (!ACondition() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return ACondition();
}

// Once the next modal dialog is up, runs AAction on it (from the event loop the dialog spins).
inline void OnNextModal(std::function<void(QWidget*)> AAction) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, AAction]() {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            AAction(modal);
        }
    });
    timer->start();
}

// Answers the next file dialog with AFile; AProposed receives the file it first proposed.
inline void OnNextFileDialog(const std::filesystem::path& AFile, QString& AProposed) {
    OnNextModal([AFile, &AProposed](QWidget* ADialog) {
        auto* dialog = qobject_cast<QFileDialog*>(ADialog);
        ASSERT_NE(dialog, nullptr);
        AProposed = dialog->selectedFiles().value(0);
        // Typed into the name box, as a user would: selectFile leaves a box that has the focus
        // as it is, and whether it has it depends on when the window manager activates the
        // dialog.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QString::fromStdString(AFile.string()));
        static_cast<QDialog*>(dialog)->accept();
    });
}

}  // namespace cotalys::test
