#pragma once

// Support and resistance: the zone analyzer, its results and the entry filter.
#include "zones/EntryFilter.h"
#include "zones/PriceZone.h"
#include "zones/SRParams.h"
#include "zones/SupportResistanceAnalyzer.h"
