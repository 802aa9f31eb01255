#pragma once

// Data providers: the HTTP fetcher, the quote service's configuration, the providers of a
// symbol's daily bars (quote service, web page, local file) and the fallback chain.
#include "providers/BaseProvider.h"
#include "providers/FallbackProvider.h"
#include "providers/HistoricalDataProvider.h"
#include "providers/HtmlPageProvider.h"
#include "providers/HttpFetcher.h"
#include "providers/LocalFileProvider.h"
#include "providers/QuoteServiceConfig.h"
#include "providers/UrlEncoding.h"
#include "providers/YahooChartProvider.h"
