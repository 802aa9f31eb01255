#pragma once

// The replay of the evening scan on a portfolio over a backtest period, against holding the
// same stocks and the index: the simulation, its figures, its report section and its files.
#include "portfolio/PortfolioBook.h"
#include "portfolio/PortfolioSimulation.h"
#include "portfolio/PortfolioStats.h"
#include "portfolio/SimulateStrategy.h"
#include "portfolio/Trade.h"
