#pragma once

#include <cstddef>
#include <string>

#include "core/Core.h"

namespace cotalys {

// The server could not be reached or failed on its side (network failure, time-out, HTTP 5xx):
// what was asked may exist all the same, so a stored copy can stand in for it.
class EServiceUnreachable : public EDataProviderError {
public:
    using EDataProviderError::EDataProviderError;
    const char* ClassName() const noexcept override { return "EServiceUnreachable"; }
};

// The network failed before any answer (no route, refused connection, time-out, TLS): behind a
// chain of sources, the failure that says to check the connection.
class ENetworkFailure : public EServiceUnreachable {
public:
    using EServiceUnreachable::EServiceUnreachable;
    const char* ClassName() const noexcept override { return "ENetworkFailure"; }
};

// The server has nothing at that address (HTTP 404): a wrong symbol or URL.
class EResourceNotFound : public EDataProviderError {
public:
    using EDataProviderError::EDataProviderError;
    const char* ClassName() const noexcept override { return "EResourceNotFound"; }
};

// The transfer was cancelled through the thread's TTransferCancelScope: no failure of the
// service, so no stored copy stands in and no other source is tried.
class ETransferCancelled : public EDataProviderError {
public:
    using EDataProviderError::EDataProviderError;
    const char* ClassName() const noexcept override { return "ETransferCancelled"; }
};

// HTTP(S) GET of a page or a chart document as text, presenting itself like a desktop browser
// and asking for French content. Every failure is an EDataProviderError with a French message.
class THttpFetcher {
public:
    // Bodies above this size are refused, so a broken server cannot exhaust memory.
    static constexpr std::size_t MaxBodyBytes = 64u * 1024u * 1024u;
    // Redirects followed before giving up.
    static constexpr long MaxRedirects = 10;

    // Default time-outs and user agent; the trusted certificates come from COTALYS_CA_BUNDLE
    // when it names a file, else from the system's store.
    THttpFetcher();

    int ConnectTimeout() const { return FConnectTimeout; }
    void SetConnectTimeout(int AMilliseconds) { FConnectTimeout = AMilliseconds; }
    // Longest silence of the server, in milliseconds, while the response is awaited or read.
    int ResponseTimeout() const { return FResponseTimeout; }
    void SetResponseTimeout(int AMilliseconds) { FResponseTimeout = AMilliseconds; }
    const std::string& UserAgent() const { return FUserAgent; }
    void SetUserAgent(const std::string& AValue) { FUserAgent = AValue; }
    // Longest whole transfer, in milliseconds, connection included: a server that keeps sending
    // just fast enough is given up all the same.
    int Deadline() const { return FDeadline; }
    void SetDeadline(int AMilliseconds) { FDeadline = AMilliseconds; }
    // PEM file of the certificates trusted for HTTPS; empty for the system's store.
    const std::string& CaBundle() const { return FCaBundle; }
    void SetCaBundle(const std::string& AFileName) { FCaBundle = AFileName; }

    // The decoded body of a successful GET of AUrl (redirects followed); EServiceUnreachable for
    // a network failure, a time-out, the deadline or a server error (HTTP 5xx),
    // ETransferCancelled when the thread's cancel flag is set (TTransferCancelScope),
    // EDataProviderError for an invalid URL, a refused redirect, another unwanted status, an
    // oversized, empty or unreadable body.
    std::string Get(const std::string& AUrl) const;

private:
    int FConnectTimeout;
    int FResponseTimeout;
    int FDeadline;
    std::string FUserAgent;
    std::string FCaBundle;
};

}  // namespace cotalys
