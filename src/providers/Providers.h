#pragma once

// Data providers: the HTTP fetcher, the quote service's configuration, the providers of a
// symbol's daily bars (quote service, web page, local file), the fallback chain and the cancel
// flag of a thread's transfers.
#include "providers/BaseProvider.h"
#include "providers/FallbackProvider.h"
#include "providers/HistoricalDataProvider.h"
#include "providers/HtmlPageProvider.h"
#include "providers/HttpFetcher.h"
#include "providers/LocalFileProvider.h"
#include "providers/QuoteServiceConfig.h"
#include "providers/TransferCancelScope.h"
#include "providers/UrlEncoding.h"
#include "providers/YahooChartProvider.h"
