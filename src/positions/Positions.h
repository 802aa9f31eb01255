#pragma once

// The user's positions journal: each position with its fees, stop, planned exit and result, and
// the SQLite file that keeps them.
#include "positions/Position.h"
#include "positions/PositionJournal.h"
