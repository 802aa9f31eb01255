#pragma once

// One symbol's load and review, as the window and the command line run them: the request and
// its provider, the load with the index of the market filter, and the review that logs the
// analysis and keeps what the chart draws.
#include "review/LoadRequest.h"
#include "review/SymbolLoad.h"
#include "review/SymbolReview.h"
