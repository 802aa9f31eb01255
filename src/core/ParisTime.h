#pragma once

#include <cstdint>

#include "core/DateTime.h"

namespace cotalys {

// Offset of Paris time from UTC at a Unix time, in seconds: 3600, or 7200 in summer time (from
// the last Sunday of March to the last Sunday of October, 01:00 UTC). Independent of the
// machine's own time zone.
int ParisUtcOffset(std::int64_t AUnixSeconds);
// Unix time of 09:00 in Paris on ADay's day, when the exchange opens: the timestamp the quote
// service gives a daily session.
std::int64_t ParisSessionTimestamp(TDateTime ADay);

}  // namespace cotalys
