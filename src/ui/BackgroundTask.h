#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

namespace cotalys {

// Runs AWork on the application's thread pool. AWork must not touch any widget.
void StartBackgroundTask(std::function<void()> AWork);

// Queues AStep to the interface thread, behind everything queued before it from the same
// thread; dropped when AReceiver is gone by then. Callable from any thread.
void PostToInterface(const QPointer<QObject>& AReceiver, std::function<void()> AStep);

}  // namespace cotalys
