#include "providers/QuoteServiceConfig.h"

#include <cstdlib>
#include <mutex>

#include "core/Core.h"

namespace cotalys {

namespace {

const char* const DefaultQuoteHost = "query1.finance.yahoo.com";

// Set once at start by the command line, read by every load afterwards, possibly on
// background threads.
std::mutex& OverrideLock() {
    static std::mutex lock;
    return lock;
}

std::string& OverrideHost() {
    static std::string host;
    return host;
}

bool StartsWith(const std::string& AText, const std::string& APrefix) {
    return AText.rfind(APrefix, 0) == 0;
}

}  // namespace

std::string QuoteHost() {
    {
        std::lock_guard<std::mutex> guard(OverrideLock());
        if (!OverrideHost().empty())
            return OverrideHost();
    }
    if (const char* env = std::getenv("COTALYS_QUOTE_HOST")) {
        const std::string host(TrimBlanks(env));
        if (!host.empty())
            return host;
    }
    return DefaultQuoteHost;
}

void SetQuoteHost(const std::string& AHost) {
    std::lock_guard<std::mutex> guard(OverrideLock());
    OverrideHost() = std::string(TrimBlanks(AHost));
}

bool QuoteHostIsLoopback() {
    std::string host = QuoteServiceBaseUrl();
    host.erase(0, host.find("://") + 3);
    if (StartsWith(host, "[::1]")) {
        return true;
    }
    host = LowerAscii(host.substr(0, host.find_first_of(":/")));
    const bool address = host.find_first_not_of("0123456789.") == std::string::npos;
    return host == "localhost" || (address && StartsWith(host, "127."));
}

std::string QuoteServiceBaseUrl() {
    std::string host = QuoteHost();
    if (!StartsWith(host, "http://") && !StartsWith(host, "https://"))
        return "https://" + host;
    while (!host.empty() && host.back() == '/')
        host.pop_back();
    return host;
}

}  // namespace cotalys
