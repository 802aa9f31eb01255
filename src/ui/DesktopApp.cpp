#include "ui/DesktopApp.h"

#include <QApplication>

#include "ui/MainForm.h"
#include "ui/WindowFont.h"

namespace cotalys {

int RunDesktop(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cotalys"));
    QApplication::setApplicationDisplayName(QStringLiteral("Cotalys - Analyse technique"));
    QApplication::setDesktopFileName(QStringLiteral("cotalys"));
    InstallFontSubstitutes();
    TMainForm window;
    window.show();
    return QApplication::exec();
}

}  // namespace cotalys
