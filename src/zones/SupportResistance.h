#pragma once

// Support and resistance: zone results and the entry filter.
#include "zones/EntryFilter.h"
#include "zones/PriceZone.h"
