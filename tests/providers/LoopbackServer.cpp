#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>

namespace cotalys::test {

TLoopbackServer::TLoopbackServer()
    : FServer(std::make_unique<httplib::Server>()), FScheme("http") {}

TLoopbackServer::TLoopbackServer(const std::filesystem::path& ACertificate,
                                 const std::filesystem::path& AKey)
    : FServer(std::make_unique<httplib::SSLServer>(ACertificate.c_str(), AKey.c_str())),
      FScheme("https") {
    if (!FServer->is_valid())
        throw std::runtime_error("HTTPS server rejected the test certificate");
}

TLoopbackServer::~TLoopbackServer() {
    FServer->stop();
    if (FThread.joinable())
        FThread.join();
}

void TLoopbackServer::Start() {
    FPort = FServer->bind_to_any_port("127.0.0.1");
    if (FPort <= 0)
        throw std::runtime_error("cannot bind a loopback port");
    FThread = std::thread([this] { FServer->listen_after_bind(); });
    // stop() only reaches a server whose accept loop runs, so the destructor must not come first.
    while (!FServer->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

std::string TLoopbackServer::Url(const std::string& APath) const {
    return FScheme + "://127.0.0.1:" + std::to_string(FPort) + APath;
}

int OpenLoopbackListener(int& APort) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("cannot open a loopback socket");
    }
    APort = ntohs(address.sin_port);
    return fd;
}

TSilentServer::TSilentServer() {
    FSocket = OpenLoopbackListener(FPort);
}

TSilentServer::~TSilentServer() {
    if (FSocket >= 0)
        ::close(FSocket);
}

std::string TSilentServer::Url(const std::string& APath) const {
    return "http://127.0.0.1:" + std::to_string(FPort) + APath;
}

namespace {

template <class T, void (*Free)(T*)>
struct TOpenSslDeleter {
    void operator()(T* APointer) const { Free(APointer); }
};
using TKey = std::unique_ptr<EVP_PKEY, TOpenSslDeleter<EVP_PKEY, EVP_PKEY_free>>;
using TCertificate = std::unique_ptr<X509, TOpenSslDeleter<X509, X509_free>>;
using TExtension =
    std::unique_ptr<X509_EXTENSION, TOpenSslDeleter<X509_EXTENSION, X509_EXTENSION_free>>;

void Require(bool AOk, const char* AStep) {
    if (!AOk)
        throw std::runtime_error(std::string("test certificate: ") + AStep);
}

void AddExtension(X509* ACertificate, int ANid, const char* AValue) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, ACertificate, ACertificate, nullptr, nullptr, 0);
    TExtension extension(X509V3_EXT_conf_nid(nullptr, &context, ANid, AValue));
    Require(extension && X509_add_ext(ACertificate, extension.get(), -1) == 1, AValue);
}

template <class Write>
void WritePem(const std::filesystem::path& APath, Write AWrite) {
    FILE* file = std::fopen(APath.c_str(), "wb");
    Require(file != nullptr, "open PEM file");
    const bool ok = AWrite(file);
    std::fclose(file);
    Require(ok, "write PEM file");
}

}  // namespace

TTestCertificate TTestCertificate::Create(const std::filesystem::path& AFolder) {
    TKey key(EVP_EC_gen("P-256"));
    Require(key != nullptr, "key generation");
    TCertificate certificate(X509_new());
    Require(certificate != nullptr, "allocation");
    X509* cert = certificate.get();
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), 24 * 3600);
    X509_set_pubkey(cert, key.get());
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(cert, name);
    AddExtension(cert, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(cert, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
    Require(X509_sign(cert, key.get(), EVP_sha256()) > 0, "signature");

    TTestCertificate result{AFolder / "server-cert.pem", AFolder / "server-key.pem"};
    WritePem(result.Certificate, [&](FILE* AFile) { return PEM_write_X509(AFile, cert) == 1; });
    WritePem(result.Key, [&](FILE* AFile) {
        return PEM_write_PrivateKey(AFile, key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1;
    });
    return result;
}

}  // namespace cotalys::test
