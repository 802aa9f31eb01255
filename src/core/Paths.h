#pragma once

#include <filesystem>

namespace cotalys {

// COTALYS_DOCUMENTS_DIR when set, else the XDG documents folder, else $HOME/Documents,
// else the current folder.
std::filesystem::path DocumentsDir();
// The "Cotalys" folder under the documents folder, where settings and reports live.
std::filesystem::path CotalysDir();
// The folder of the running executable.
std::filesystem::path ExecutableDir();

}  // namespace cotalys
