#pragma once

#include <string>

namespace cotalys {

// The quote service's host as configured: the value given to SetQuoteHost, else the
// COTALYS_QUOTE_HOST environment variable, else "query1.finance.yahoo.com".
std::string QuoteHost();
// Overrides the host for this process (the command line's --quote-host); empty restores the
// environment or the default.
void SetQuoteHost(const std::string& AHost);
// Scheme and host the chart path is appended to: "https://" and the host, or the host itself
// when it is a base URL beginning with "http://" or "https://" (trailing "/" removed).
std::string QuoteServiceBaseUrl();
// True when the service's host is this machine (127.0.0.0/8, localhost, ::1): the offline
// quote service, which needs no pause between requests.
bool QuoteHostIsLoopback();

}  // namespace cotalys
