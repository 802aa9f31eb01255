#pragma once

// The user's positions journal: each position with its fees, stop, planned exit and result, and
// the SQLite file that keeps them; what the open ones commit at the last closes.
#include "positions/OpenExposure.h"
#include "positions/Position.h"
#include "positions/PositionJournal.h"
