#include "ui/DesktopApp.h"

#include <QApplication>
#include <QIcon>

#include "ui/MainForm.h"
#include "ui/QtTexts.h"
#include "ui/WindowFont.h"

namespace cotalys {

int RunDesktop(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cotalys"));
    // The platform adds the display name to every window title that does not end with it.
    QApplication::setApplicationDisplayName(QStringLiteral("Cotalys"));
    QApplication::setDesktopFileName(QStringLiteral("cotalys"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/cotalys.svg")));
    InstallFrenchQtTexts(&application);
    InstallFontSubstitutes();
    TMainForm window;
    window.show();
    return QApplication::exec();
}

}  // namespace cotalys
