#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace cotalys::test {

// A fresh folder under the system temporary folder, removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    // Writes AContent to a file of that name inside the folder and returns its full path.
    std::filesystem::path Write(const std::string& AName, const std::string& AContent) const;

private:
    std::filesystem::path FPath;
};

// While it lives, no file this process writes can grow beyond ABytes, as on a full disk: writes
// past the limit fail with "File too large" instead of stopping the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::size_t ABytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    std::size_t FOldSoft;
    void (*FOldHandler)(int);
};

// Full path of a file under tests/fixtures.
std::filesystem::path FixturePath(const std::string& ARelative);
// Full path of a file under data/ (the bundled price histories).
std::filesystem::path DataPath(const std::string& ARelative);
// Whole content of a file as bytes.
std::string ReadAll(const std::filesystem::path& APath);

}  // namespace cotalys::test
