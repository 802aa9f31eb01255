#pragma once

#include <QString>

namespace cotalys {

// The file that keeps the main window's size, place, splitter and last request between runs:
// "window.ini" in the program's state folder (StateDir). Never the sizing settings file, which
// holds the user's settings alone.
QString WindowStateFile();

}  // namespace cotalys
