#pragma once

// Data providers: the HTTP fetcher, the quote service's configuration, the providers of a
// symbol's daily bars and the fallback chain.
#include "providers/HttpFetcher.h"
#include "providers/QuoteServiceConfig.h"
