#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "core/Core.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

// Sets or clears an environment variable for its lifetime, then puts the old value back.
class ScopedEnv {
public:
    // A null AName changes nothing.
    ScopedEnv(const char* AName, const std::optional<std::string>& AValue) : FName(AName) {
        if (AName == nullptr) {
            return;
        }
        if (const char* old = std::getenv(AName)) {
            FOld = old;
        }
        Set(AValue);
    }
    ~ScopedEnv() { Set(FOld); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Set(const std::optional<std::string>& AValue) {
        if (FName == nullptr) {
            return;
        }
        if (AValue) {
            setenv(FName, AValue->c_str(), 1);
        } else {
            unsetenv(FName);
        }
    }

    const char* FName;
    std::optional<std::string> FOld;
};

TEST(Paths, EachBaseFolderFollowsTheXdgRuleAndItsOverride) {
    using TFolder = std::filesystem::path (*)();
    struct TBase {
        const char* Name;
        TFolder Folder;
        const char* Override;  // nullptr: none
        const char* Xdg;
        const char* Default;  // under HOME
        const char* Own;      // the program's own folder under the base, or empty
    };
    const TBase bases[] = {
        {"config", ConfigHome, nullptr, "XDG_CONFIG_HOME", ".config", ""},
        {"cache", CacheDir, "COTALYS_CACHE_DIR", "XDG_CACHE_HOME", ".cache", "cotalys"},
        {"state", StateDir, "COTALYS_STATE_DIR", "XDG_STATE_HOME", ".local/state", "cotalys"},
        {"data", DataDir, "COTALYS_DATA_DIR", "XDG_DATA_HOME", ".local/share", "cotalys"},
    };
    struct TCase {
        const char* Name;
        std::optional<std::string> Override;
        std::optional<std::string> Xdg;
        const char* Expected;  // "HOME": the default under the home folder
    };
    const TCase cases[] = {
        {"absolute XDG value", std::nullopt, "/srv/xdg", "/srv/xdg"},
        {"relative XDG value, invalid", std::nullopt, "relatif", "HOME"},
        {"empty XDG value", std::nullopt, "", "HOME"},
        {"XDG unset", std::nullopt, std::nullopt, "HOME"},
        {"override beside an XDG value", "/srv/cotalys", "/srv/xdg", "/srv/cotalys"},
    };
    test::TempDir home;
    const ScopedEnv homeEnv("HOME", home.Path().string());
    for (const TBase& base : bases) {
        for (const TCase& c : cases) {
            if (c.Override && base.Override == nullptr) {
                continue;
            }
            const ScopedEnv overrideEnv(base.Override, c.Override);
            const ScopedEnv xdgEnv(base.Xdg, c.Xdg);
            std::filesystem::path expected = c.Expected;
            if (c.Override) {
                EXPECT_EQ(base.Folder(), expected) << base.Name << ", " << c.Name;
                continue;
            }
            if (expected == "HOME") {
                expected = home.Path() / base.Default;
            }
            if (*base.Own != '\0') {
                expected /= base.Own;
            }
            EXPECT_EQ(base.Folder(), expected) << base.Name << ", " << c.Name;
        }
    }
}

TEST(Paths, DocumentsFolderOverrideAndExecutable) {
    test::TempDir dir;
    setenv("COTALYS_DOCUMENTS_DIR", dir.Path().c_str(), 1);
    EXPECT_EQ(DocumentsDir(), dir.Path());
    EXPECT_EQ(CotalysDir(), dir.Path() / "Cotalys");
    unsetenv("COTALYS_DOCUMENTS_DIR");

    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", dir.Path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir.Path() / "cfg").c_str(), 1);
    EXPECT_EQ(DocumentsDir(), dir.Path() / "Documents");
    dir.Write("cfg/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Mes documents\"\n");
    EXPECT_EQ(DocumentsDir(), dir.Path() / "Mes documents");
    // A relative configuration folder is invalid: the one under the home folder stands.
    setenv("XDG_CONFIG_HOME", "cfg", 1);
    dir.Write(".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Ailleurs\"\n");
    EXPECT_EQ(DocumentsDir(), dir.Path() / "Ailleurs");
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", home.c_str(), 1);

    EXPECT_TRUE(std::filesystem::exists(ExecutableDir() / "test_core"));
}

}  // namespace
}  // namespace cotalys
