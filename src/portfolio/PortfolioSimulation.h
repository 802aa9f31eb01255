#pragma once

#include <memory>
#include <string>
#include <vector>

#include "backtest/Backtest.h"
#include "portfolio/PortfolioBook.h"
#include "portfolio/PortfolioStats.h"

namespace cotalys {

// The strategy that follows the evening scan and its two benchmarks over one backtest period,
// with their figures.
struct TPortfolioSimulation {
    TSignalParams Setting;
    TSizingParams Sizing;
    TPortfolioBook Strategy;
    TPortfolioBook EqualWeight;
    TPortfolioBook Index;  // empty without the index
    TPortfolioComparison AgainstEqualWeight;

    bool Empty() const { return Strategy.Empty(); }
    // The three books in the report's order.
    std::vector<const TPortfolioBook*> Books() const { return {&Strategy, &EqualWeight, &Index}; }
};

// The seed of the comparison with the equal-weighted portfolio.
std::uint64_t PortfolioComparisonSeed();

// The three portfolios over the run's period, with the run's setting and sizing settings.
TPortfolioSimulation SimulatePortfolios(const TRunHistory& AHistory);

// The report's section, lines ended by CR LF: the title line with the setting, the capital and
// the fee plan, one line of figures per portfolio, the comparison, and the notes.
std::string PortfolioSection(const TPortfolioSimulation& ASimulation);
// One line per session: Date;Liquidites;Investi;Valeur;BaisseDepuisSommet;Positions;
// EgalPondere;CAC40.
std::vector<std::string> PortfolioCsvLines(const TPortfolioSimulation& ASimulation);
// One line per trade of the strategy: Symbole;Signal;Entree;PrixEntree;Titres;Courtage;TTF;
// Sortie;PrixSortie;CourtageSortie;Motif;Dividendes;ResultatEUR;ResultatPct.
std::vector<std::string> TradesCsvLines(const TPortfolioSimulation& ASimulation);

// The three portfolios as their picture shows them; the CAC 40 left out when it is missing.
TPortfolioFigures PortfolioFiguresOf(const TPortfolioSimulation& ASimulation);

// The extension that makes the simulation part of a backtest run: its section and its two
// files; the simulation is kept in AKeep for the run's pictures.
TReportExtension PortfolioExtension(std::shared_ptr<TPortfolioSimulation> AKeep);

}  // namespace cotalys
