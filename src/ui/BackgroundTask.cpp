#include "ui/BackgroundTask.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>
#include <utility>

namespace cotalys {

void StartBackgroundTask(std::function<void()> AWork) {
    QThreadPool::globalInstance()->start(std::move(AWork));
}

void PostToInterface(const QPointer<QObject>& AReceiver, std::function<void()> AStep) {
    // The application object lives on the interface thread for the whole run, so the call is
    // queued to it; the guard is read there, where the receiver is destroyed.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [AReceiver, AStep = std::move(AStep)]() {
            if (AReceiver) {
                AStep();
            }
        },
        Qt::QueuedConnection);
}

}  // namespace cotalys
