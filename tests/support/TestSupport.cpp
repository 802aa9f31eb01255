#include "support/TestSupport.h"

#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace cotalys::test {

TempDir::TempDir() {
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("cotalys-test-" + std::to_string(rd()));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            FPath = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

FileSizeLimit::FileSizeLimit(std::size_t ABytes) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) {
        throw std::runtime_error("cannot read the file size limit");
    }
    FOldSoft = limit.rlim_cur;
    limit.rlim_cur = ABytes;
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        throw std::runtime_error("cannot set the file size limit");
    }
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = FOldSoft;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, FOldHandler);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
}

std::filesystem::path TempDir::Write(const std::string& AName, const std::string& AContent) const {
    const auto path = FPath / AName;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << AContent;
    return path;
}

std::filesystem::path FixturePath(const std::string& ARelative) {
    return std::filesystem::path(COTALYS_FIXTURES_DIR) / ARelative;
}

std::filesystem::path DataPath(const std::string& ARelative) {
    return std::filesystem::path(COTALYS_DATA_DIR) / ARelative;
}

std::string ReadAll(const std::filesystem::path& APath) {
    std::ifstream in(APath, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

}  // namespace cotalys::test
