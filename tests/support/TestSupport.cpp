#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace cotalys::test {

SilentService::SilentService() {
    FSocket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (FSocket < 0 || bind(FSocket, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(FSocket, 8) != 0 ||
        getsockname(FSocket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot open a loopback socket");
    }
    FPort = ntohs(address.sin_port);
}

SilentService::~SilentService() {
    Close();
}

bool SilentService::WaitForAsker() const {
    pollfd watch{FSocket, POLLIN, 0};
    return poll(&watch, 1, 30000) > 0;
}

void SilentService::Close() {
    if (FSocket >= 0) {
        close(FSocket);
        FSocket = -1;
    }
}

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

namespace {

// Every test gets a price store and a data folder of its own, so that no test reads what another
// stored nor touches the user's own store and positions journal: COTALYS_CACHE_DIR and
// COTALYS_DATA_DIR name fresh folders from its start to its end.
class TStorePerTest : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo&) override {
        FFolder = std::make_unique<TempDir>();
        setenv("COTALYS_CACHE_DIR", FFolder->Path().c_str(), 1);
        setenv("COTALYS_DATA_DIR", (FFolder->Path() / "donnees").c_str(), 1);
    }
    void OnTestEnd(const testing::TestInfo&) override {
        unsetenv("COTALYS_CACHE_DIR");
        unsetenv("COTALYS_DATA_DIR");
        FFolder.reset();
    }

private:
    std::unique_ptr<TempDir> FFolder;
};

const bool StorePerTestInstalled = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new TStorePerTest);
    return true;
}();

}  // namespace

}  // namespace cotalys::test
