#pragma once

#include <filesystem>

namespace cotalys {

// COTALYS_DOCUMENTS_DIR when set, else the XDG documents folder, else $HOME/Documents,
// else the current folder.
std::filesystem::path DocumentsDir();
// The "Cotalys" folder under the documents folder, where settings and reports live.
std::filesystem::path CotalysDir();
// The program's state folder: "cotalys" under $XDG_STATE_HOME when it is an absolute path (a
// relative value is invalid in the XDG rules and ignored), else under $HOME/.local/state.
std::filesystem::path StateDir();
// The folder of the running executable.
std::filesystem::path ExecutableDir();

}  // namespace cotalys
