#pragma once

// The offline quote service: price files served as the quote service's chart endpoint.
#include "quoteserver/ChartDocument.h"
#include "quoteserver/QuoteServer.h"
#include "quoteserver/QuoteStore.h"
