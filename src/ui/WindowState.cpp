#include "ui/WindowState.h"

#include "core/Core.h"

namespace cotalys {

QString WindowStateFile() {
    return QString::fromStdString((StateDir() / "window.ini").string());
}

}  // namespace cotalys
