#include "ui/WindowState.h"

#include <QDir>

namespace cotalys {

QString WindowStateFile() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative value is invalid in the XDG rules and ignored.
    if (!QDir::isAbsolutePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return base + QStringLiteral("/cotalys/window.ini");
}

}  // namespace cotalys
