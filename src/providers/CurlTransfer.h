#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>

struct curl_slist;

// The libcurl side of the fetcher: the only place that touches a curl handle. Internal to the
// providers folder; curl.h stays in the .cpp so that Providers.h does not pull it in.
namespace cotalys {

struct TTransferState;

// What the fetcher asks of one transfer.
struct TTransferSettings {
    int ConnectTimeoutMs = 0;
    int ResponseTimeoutMs = 0;  // longest silence allowed while waiting for the response
    int DeadlineMs = 0;         // longest whole transfer
    const std::atomic<bool>* Cancel = nullptr;  // ends the transfer once true; may be null
    std::string UserAgent;
    std::string CaBundle;  // PEM file of trusted certificates; empty for the system's store
    std::size_t MaxBodyBytes = 0;
    long MaxRedirects = 0;
};

enum class TTransferFailure { tfNone, tfNetwork, tfInvalidUrl, tfTooLarge, tfCancelled };

// The final response after redirects, or why there is none.
struct TTransferResult {
    TTransferFailure Failure = TTransferFailure::tfNone;
    std::string ErrorText;  // the client's explanation when Failure is not tfNone
    long Status = 0;
    std::string Reason;           // reason phrase of the final status line
    std::string ContentType;      // Content-Type of the final response, empty when none
    std::string ContentEncoding;  // Content-Encoding of the final response, empty when none
    // Location of the last redirect when it was refused (tfInvalidUrl), else empty.
    std::string RefusedRedirect;
    std::string Body;
};

// Move-only owner of one curl easy handle and its request header list, used for one GET.
class TCurlTransfer {
public:
    // Throws EDataProviderError when libcurl cannot give a handle.
    TCurlTransfer();
    TCurlTransfer(TCurlTransfer&&) noexcept;
    TCurlTransfer& operator=(TCurlTransfer&&) noexcept;
    ~TCurlTransfer();

    // Performs a GET of AUrl; network and URL failures come back in the result, never thrown.
    TTransferResult Get(const std::string& AUrl, const TTransferSettings& ASettings);

private:
    struct TEasyDeleter {
        void operator()(void* AHandle) const noexcept;
    };
    struct TListDeleter {
        void operator()(curl_slist* AList) const noexcept;
    };

    void Configure(const std::string& AUrl, const TTransferSettings& ASettings,
                   TTransferState& AState);

    std::unique_ptr<void, TEasyDeleter> FHandle;
    std::unique_ptr<curl_slist, TListDeleter> FHeaders;
};

}  // namespace cotalys
