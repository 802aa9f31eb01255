#pragma once

#include <functional>

#include "core/DateTime.h"

namespace cotalys {

// The local date and time now, from the injected clock when one is set.
TDateTime Now();
// The local day today (Now without its time of day).
TDateTime Today();
// Replaces the system clock (the command line's --as-of and the tests use it).
void SetClock(std::function<TDateTime()> AClock);
// Back to the system clock.
void ResetClock();

}  // namespace cotalys
