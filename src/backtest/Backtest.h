#pragma once

// The multi-symbol backtest, its detail CSV, its report and the figures of its pictures; the symbol
// lists and the per-symbol loop (progress lines, cancel query, pauses) that the backtest and the
// scanner share.
#include "backtest/BacktestRunner.h"
#include "backtest/BatchRun.h"
#include "backtest/CsvCells.h"
#include "backtest/FiguresFromResults.h"
#include "backtest/RunHistory.h"
#include "backtest/SymbolList.h"
