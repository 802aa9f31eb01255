#pragma once

namespace cotalys {

// The desktop program: creates the application "Cotalys" with its icon and Qt's own texts in
// French, and its main window, then runs the event loop until the window closes. Returns the
// process exit code.
int RunDesktop(int argc, char** argv);

}  // namespace cotalys
