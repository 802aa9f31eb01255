#pragma once

#include <filesystem>

namespace cotalys {

// The folders the program keeps its files in, one routine per base folder. The XDG rule holds
// for each: the variable when it names an absolute path (a relative value is invalid and
// ignored), else its default under $HOME. A COTALYS_* variable, when set, names the program's
// own folder directly (the tests set them). No other code reads these variables.

// The user's configuration base: $XDG_CONFIG_HOME, else ~/.config. The program keeps nothing of
// its own there; it holds the desktop's files the program reads or writes (user-dirs.dirs, the
// systemd user units).
std::filesystem::path ConfigHome();
// The price store's folder, which may be wiped: COTALYS_CACHE_DIR, else "cotalys" under
// $XDG_CACHE_HOME, else ~/.cache/cotalys.
std::filesystem::path CacheDir();
// The window's state and the scan log: COTALYS_STATE_DIR, else "cotalys" under $XDG_STATE_HOME,
// else ~/.local/state/cotalys.
std::filesystem::path StateDir();
// The user's own data, never rebuilt: COTALYS_DATA_DIR, else "cotalys" under $XDG_DATA_HOME,
// else ~/.local/share/cotalys.
std::filesystem::path DataDir();
// COTALYS_DOCUMENTS_DIR when set, else the XDG documents folder (XDG_DOCUMENTS_DIR of
// user-dirs.dirs under ConfigHome), else $HOME/Documents, else the current folder.
std::filesystem::path DocumentsDir();
// The "Cotalys" folder under the documents folder, where settings and reports live.
std::filesystem::path CotalysDir();
// The folder of the running executable.
std::filesystem::path ExecutableDir();

}  // namespace cotalys
