#pragma once

#include <QString>

namespace cotalys {

// The file that keeps the main window's size, place, splitter and last request between runs:
// "cotalys/window.ini" under $XDG_STATE_HOME when it is an absolute path, else under
// $HOME/.local/state. Never the sizing settings file, which holds the user's settings alone.
QString WindowStateFile();

}  // namespace cotalys
