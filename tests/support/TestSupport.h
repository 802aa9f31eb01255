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

// A loopback port where connections are taken by the system but never answered: a download
// from it waits for its time-out, its cancel, or the service's end.
class SilentService {
public:
    SilentService();
    ~SilentService();
    SilentService(const SilentService&) = delete;
    SilentService& operator=(const SilentService&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(FPort); }
    // True once a connection waits, within half a minute.
    bool WaitForAsker() const;
    // Ends the service: the connections that wait are reset.
    void Close();

private:
    int FSocket = -1;
    int FPort = 0;
};

// Full path of a file under tests/fixtures.
std::filesystem::path FixturePath(const std::string& ARelative);
// Full path of a file under data/ (the bundled price histories).
std::filesystem::path DataPath(const std::string& ARelative);
// Whole content of a file as bytes.
std::string ReadAll(const std::filesystem::path& APath);

}  // namespace cotalys::test
