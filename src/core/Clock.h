#pragma once

#include <cstdint>
#include <functional>

#include "core/DateTime.h"

namespace cotalys {

// Every reading of local time goes through here, so that the command line's --as-of and the
// tests decide each date the program writes.

// The local date and time now, from the injected clock when one is set.
TDateTime Now();
// The local day today (Now without its time of day).
TDateTime Today();
// Replaces the system clock (the command line's --as-of and the tests use it).
void SetClock(std::function<TDateTime()> AClock);
// Sets the clock on ADay, its time of day still running with the system's (the command line's
// --as-of), so that the files of two runs on that day keep distinct names.
void SetClockDay(TDateTime ADay);
// Back to the system clock.
void ResetClock();

// A Unix time as the local date-time it designates (local time zone, daylight-saving time).
TDateTime UnixToLocalDateTime(std::int64_t ASeconds);

}  // namespace cotalys
