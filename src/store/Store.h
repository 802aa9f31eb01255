#pragma once

// The local price store: the quote service's histories kept in a SQLite file, and the provider
// that asks the service only for what the store lacks.
#include "store/PriceStore.h"
#include "store/StoredQuoteProvider.h"
