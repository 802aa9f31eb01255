#pragma once

// The market data core: dates, price series, parse reports, exceptions, French formats,
// the clock, paths and text decoding.
#include "core/AsciiText.h"
#include "core/Clock.h"
#include "core/DateTime.h"
#include "core/Exceptions.h"
#include "core/Files.h"
#include "core/Formatting.h"
#include "core/Numbers.h"
#include "core/ParseReport.h"
#include "core/ParisTime.h"
#include "core/Paths.h"
#include "core/PriceSeries.h"
#include "core/TextDecoding.h"
