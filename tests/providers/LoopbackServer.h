#pragma once

#include <httplib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace cotalys::test {

// A cpp-httplib server on 127.0.0.1 with a free port, serving from a background thread until
// destroyed. Routes are added on Server() before Start().
class TLoopbackServer {
public:
    // Plain HTTP.
    TLoopbackServer();
    // HTTPS with the given PEM certificate and private key.
    TLoopbackServer(const std::filesystem::path& ACertificate, const std::filesystem::path& AKey);
    ~TLoopbackServer();
    TLoopbackServer(const TLoopbackServer&) = delete;
    TLoopbackServer& operator=(const TLoopbackServer&) = delete;

    httplib::Server& Server() { return *FServer; }
    void Start();
    int Port() const { return FPort; }
    // "http://127.0.0.1:PORT" followed by APath ("https://" for an HTTPS server).
    std::string Url(const std::string& APath) const;

private:
    std::unique_ptr<httplib::Server> FServer;
    std::string FScheme;
    int FPort = 0;
    std::thread FThread;
};

// A listening TCP socket on 127.0.0.1 with a free port; sets APort. Throws std::runtime_error.
int OpenLoopbackListener(int& APort);

// A listening socket on 127.0.0.1 that never answers: connections complete and then hang.
class TSilentServer {
public:
    TSilentServer();
    ~TSilentServer();
    TSilentServer(const TSilentServer&) = delete;
    TSilentServer& operator=(const TSilentServer&) = delete;
    std::string Url(const std::string& APath) const;

private:
    int FSocket = -1;
    int FPort = 0;
};

// A self-signed certificate for 127.0.0.1 and localhost made at test time, with its key,
// written as PEM files into AFolder.
struct TTestCertificate {
    std::filesystem::path Certificate;
    std::filesystem::path Key;

    static TTestCertificate Create(const std::filesystem::path& AFolder);
};

}  // namespace cotalys::test
