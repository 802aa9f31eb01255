#include "core/Paths.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

namespace cotalys {
namespace {

std::string EnvOrEmpty(const char* AName) {
    const char* value = std::getenv(AName);
    return value != nullptr ? std::string(value) : std::string();
}

// The XDG rule: the folder AVariable names when it is an absolute path, else ADefault under
// $HOME (under the current folder without a home).
std::filesystem::path XdgBase(const char* AVariable, const char* ADefault) {
    std::filesystem::path base = EnvOrEmpty(AVariable);
    if (!base.is_absolute()) {
        base = std::filesystem::path(EnvOrEmpty("HOME")) / ADefault;
    }
    return base;
}

// The program's folder: the one AOverride names when set, else "cotalys" under the XDG base.
std::filesystem::path ProgramDir(const char* AOverride, const char* AVariable,
                                 const char* ADefault) {
    const std::string overridden = EnvOrEmpty(AOverride);
    if (!overridden.empty()) {
        return overridden;
    }
    return XdgBase(AVariable, ADefault) / "cotalys";
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs, with "$HOME" expanded; empty when not configured.
std::filesystem::path XdgDocumentsDir(const std::string& AHome) {
    const std::filesystem::path config = ConfigHome();
    if (!config.is_absolute()) {
        return {};
    }
    std::ifstream in(config / "user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0) {
            continue;
        }
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (value.rfind("$HOME", 0) == 0) {
            value = AHome + value.substr(5);
        }
        // A documents folder equal to the home folder means "not configured".
        if (!value.empty() && value != AHome && value != AHome + "/") {
            return value;
        }
    }
    return {};
}

}  // namespace

std::filesystem::path ConfigHome() {
    return XdgBase("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path CacheDir() {
    return ProgramDir("COTALYS_CACHE_DIR", "XDG_CACHE_HOME", ".cache");
}

std::filesystem::path StateDir() {
    return ProgramDir("COTALYS_STATE_DIR", "XDG_STATE_HOME", ".local/state");
}

std::filesystem::path DataDir() {
    return ProgramDir("COTALYS_DATA_DIR", "XDG_DATA_HOME", ".local/share");
}

std::filesystem::path DocumentsDir() {
    const std::string overridden = EnvOrEmpty("COTALYS_DOCUMENTS_DIR");
    if (!overridden.empty()) {
        return overridden;
    }
    const std::string home = EnvOrEmpty("HOME");
    if (auto xdg = XdgDocumentsDir(home); !xdg.empty()) {
        return xdg;
    }
    if (!home.empty()) {
        return std::filesystem::path(home) / "Documents";
    }
    return std::filesystem::path(".");
}

std::filesystem::path CotalysDir() {
    return DocumentsDir() / "Cotalys";
}

std::filesystem::path ExecutableDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return std::filesystem::current_path(ec);
    }
    return exe.parent_path();
}

}  // namespace cotalys
