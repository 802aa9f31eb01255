#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "cli/CommandLine.h"
#include "cli/TerminalOutput.h"
#include "ui/DesktopApp.h"

namespace {

const char* const NoDisplayMessage =
    "La fenetre de Cotalys demande une session graphique, et aucun affichage n'est joignable "
    "(DISPLAY, WAYLAND_DISPLAY).\n"
    "Sans fenetre, la ligne de commande fait le meme travail : cotalys --help\n";

// True when a display is named for the window: X11, Wayland, or a platform chosen by hand
// (QT_QPA_PLATFORM=offscreen, for instance).
bool DisplayNamed() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

QtMessageHandler PreviousHandler = nullptr;

// Qt stops the program with an English message and an abort when the named display cannot be
// reached; this says it in French and exits as a command line that cannot run. Every other
// message goes where it went.
void ReportUnreachableDisplay(QtMsgType AType, const QMessageLogContext& AContext,
                              const QString& AMessage) {
    if (AType == QtFatalMsg && AMessage.contains(QStringLiteral("platform plugin"))) {
        std::fputs(NoDisplayMessage, stderr);
        std::_Exit(cotalys::ExitBadArguments);
    }
    PreviousHandler(AType, AContext, AMessage);
}

}  // namespace

// Without argument the program opens its desktop window; with a subcommand, the command line
// runs it without a window.
int main(int argc, char** argv) {
    if (argc <= 1) {
        if (!DisplayNamed()) {
            std::cerr << NoDisplayMessage;
            return cotalys::ExitBadArguments;
        }
        PreviousHandler = qInstallMessageHandler(ReportUnreachableDisplay);
        return cotalys::RunDesktop(argc, argv);
    }
    if (cotalys::OutputIsTerminal()) {
        cotalys::TLineFeedBuffer terminal(std::cout.rdbuf());
        std::ostream out(&terminal);
        return cotalys::RunCommandLine(argc, argv, out, std::cerr);
    }
    return cotalys::RunCommandLine(argc, argv, std::cout, std::cerr);
}
