#include "portfolio/PortfolioSimulation.h"

#include <cmath>

#include "portfolio/SimulateStrategy.h"

namespace cotalys {
namespace {

constexpr const char* LineBreak = "\r\n";

const TFormatSettings& French() {
    static const TFormatSettings fs = FrenchFormatSettings();
    return fs;
}

// AValue with APattern, "-" when it is not known.
std::string Number(const char* APattern, double AValue, const std::string& AUnit = "") {
    return std::isnan(AValue) ? std::string("-") : FormatFloat(APattern, AValue, French()) + AUnit;
}

std::string PortfolioStatsHeader() {
    return Format("  %-13s %14s %8s %8s %8s %-21s %7s %6s %5s %7s %5s %5s %9s %10s %8s %6s %7s %6s",
                  "Portefeuille", "Valeur finale", "Total", "Annuel", "Baisse", "du ... au",
                  "Volat.", "Sharpe", "Expo", "Investi", "Ops", "Gagn.", "Gain moy.", "Perte moy.",
                  "Courtage", "TTF", "Divid.", "Duree");
}

std::string PortfolioStatsLine(const TPortfolioBook& ABook) {
    if (ABook.Empty()) {
        return Format("  %-13s indice indisponible", ABook.Name);
    }
    const TPortfolioStats s = PortfolioStats(ABook);
    const std::string fall = s.MaxDrawdownPct < 0
                                 ? FrenchDate(s.PeakDate) + "-" + FrenchDate(s.TroughDate)
                                 : std::string("-");
    return Format("  %-13s %14s %8s %8s %8s %-21s %7s %6s %5s %7s %5d %5s %9s %10s %8s %6s %7s %6s",
                  ABook.Name, Number("#,##0", s.FinalValue, " EUR"), Pct1(s.TotalReturnPct),
                  Pct1(s.AnnualReturnPct), Pct1(s.MaxDrawdownPct), fall,
                  Number("0.0", s.VolatilityPct, " %"), Number("0.00", s.Sharpe),
                  Number("0", s.ExposurePct, " %"), Number("0", s.AvgInvestedPct, " %"), s.Trades,
                  Number("0", s.WinnersPct, " %"), Pct1(s.AvgWinPct), Pct1(s.AvgLossPct),
                  Number("#,##0", s.Brokerage), Number("#,##0", s.TTF),
                  Number("#,##0", s.Dividends), Number("0.0", s.AvgSessions));
}

std::string ComparisonLine(const TPortfolioComparison& AComparison) {
    const auto points = [](double AValue) { return Number("+0.0;-0.0;0.0", AValue); };
    return Format(
        "  Ecart de rendement annualise avec Egal-pondere : %s pts [IC 95 %% %s ; %s] sur %d "
        "mois, reechantillonnage par mois : %s",
        points(AComparison.Diff), points(AComparison.Low), points(AComparison.High),
        AComparison.Months, AComparison.Verdict);
}

// A price with the decimals it needs, up to six.
std::string CsvPrice(double AValue) {
    return std::isfinite(AValue) ? FormatFloat("0.######", AValue, French()) : std::string();
}

// The value of ABook on each session, NaN for a book without sessions.
double ValueOn(const TPortfolioBook& ABook, std::size_t ASession) {
    return ASession < ABook.Days.size() ? ABook.Days[ASession].Value() : NaN;
}

}  // namespace

std::uint64_t PortfolioComparisonSeed() {
    return ConfidenceSeed(3, 0);
}

TPortfolioSimulation SimulatePortfolios(const TRunHistory& AHistory) {
    TPortfolioSimulation simulation;
    simulation.Setting = AHistory.Setting;
    simulation.Sizing = AHistory.Sizing;
    const std::vector<TDateTime> sessions = PeriodSessions(AHistory);
    simulation.Strategy = SimulateStrategy(AHistory, sessions);
    simulation.EqualWeight = SimulateEqualWeight(AHistory, sessions);
    simulation.Index = SimulateIndex(AHistory, sessions);
    simulation.AgainstEqualWeight =
        ComparePortfolios(simulation.Strategy, simulation.EqualWeight, PortfolioComparisonSeed());
    return simulation;
}

std::string PortfolioSection(const TPortfolioSimulation& ASimulation) {
    const TSizingParams& sizing = ASimulation.Sizing;
    std::string text =
        Format("Simulation du portefeuille : reglage %s, capital %s EUR, %s, %s",
               ASimulation.Setting.Name, FormatFloat("#,##0", sizing.Capital, French()),
               TSizingParams::PlanName(sizing.FeePlan),
               sizing.IsPEA ? "PEA (courtage plafonne a 0,5 %)" : "compte-titres") +
        LineBreak;
    if (ASimulation.Empty()) {
        return text + "  Aucune seance a simuler" + LineBreak;
    }
    text += PortfolioStatsHeader() + LineBreak;
    for (const TPortfolioBook* book : ASimulation.Books()) {
        text += PortfolioStatsLine(*book) + LineBreak;
    }
    text += ComparisonLine(ASimulation.AgainstEqualWeight) + LineBreak;
    text +=
        "  Achat a l'ouverture qui suit le signal, vente au stop ou a la cloture de la 20e seance "
        "; "
        "positions encore ouvertes a la fin valorisees a la derniere cloture, sans frais de vente";
    text += LineBreak;
    text += "  Dividendes bruts, impots non deduits ; CAC 40 : indice de prix, sans dividendes";
    text += LineBreak;
    text +=
        "  Titres : composition actuelle du CAC 40 ; les titres sortis de l'indice pendant la "
        "periode ne sont pas testes (biais du survivant)";
    return text + LineBreak;
}

std::vector<std::string> PortfolioCsvLines(const TPortfolioSimulation& ASimulation) {
    std::vector<std::string> lines = {
        "Date;Liquidites;Investi;Valeur;BaisseDepuisSommet;Positions;EgalPondere;CAC40"};
    const std::vector<double> drawdowns = DrawdownsPct(ASimulation.Strategy);
    for (std::size_t i = 0; i < ASimulation.Strategy.Days.size(); ++i) {
        const TPortfolioDay& day = ASimulation.Strategy.Days[i];
        lines.push_back(
            CsvLine({CsvDate(day.Date), CsvNumber(day.Cash), CsvNumber(day.Invested),
                     CsvNumber(day.Value()), CsvNumber(drawdowns[i]), std::to_string(day.Positions),
                     CsvNumber(ValueOn(ASimulation.EqualWeight, i)),
                     CsvNumber(ValueOn(ASimulation.Index, i))}));
    }
    return lines;
}

std::vector<std::string> TradesCsvLines(const TPortfolioSimulation& ASimulation) {
    std::vector<std::string> lines = {
        "Symbole;Signal;Entree;PrixEntree;Titres;Courtage;TTF;Sortie;PrixSortie;CourtageSortie;"
        "Motif;Dividendes;ResultatEUR;ResultatPct"};
    for (const TTrade& trade : ASimulation.Strategy.Trades) {
        lines.push_back(CsvLine(
            {CsvOutsideText(trade.Symbol), CsvDate(trade.SignalDate), CsvDate(trade.EntryDate),
             CsvPrice(trade.EntryPrice), FormatFloat("0", trade.Shares, French()),
             CsvNumber(trade.Brokerage), CsvNumber(trade.TTF), CsvDate(trade.ExitDate),
             CsvPrice(trade.ExitPrice), CsvNumber(trade.ExitBrokerage),
             ExitReasonText(trade.Reason), CsvNumber(trade.Dividends), CsvNumber(trade.ResultEur()),
             CsvNumber(trade.ResultPct())}));
    }
    return lines;
}

TPortfolioFigures PortfolioFiguresOf(const TPortfolioSimulation& ASimulation) {
    TPortfolioFigures figures;
    figures.Capital = ASimulation.Sizing.Capital;
    figures.Title =
        Format("Simulation du portefeuille : reglage %s, capital %s EUR, %s",
               ASimulation.Setting.Name, FormatFloat("#,##0", ASimulation.Sizing.Capital, French()),
               TSizingParams::PlanName(ASimulation.Sizing.FeePlan));
    for (const TPortfolioDay& day : ASimulation.Strategy.Days) {
        figures.Dates.push_back(day.Date);
        if (figures.Years.empty() || figures.Years.back() != YearOf(day.Date)) {
            figures.Years.push_back(YearOf(day.Date));
        }
    }
    for (const TPortfolioBook* book : ASimulation.Books()) {
        if (book->Empty()) {
            continue;
        }
        TPortfolioCurve curve;
        curve.Name = book->Name;
        curve.DrawdownPct = DrawdownsPct(*book);
        double yearStart = book->Capital;
        for (std::size_t i = 0; i < book->Days.size(); ++i) {
            const double value = book->Days[i].Value();
            curve.Values.push_back(value);
            // A year ends on its last session, or on the period's.
            if (i + 1 == book->Days.size() ||
                YearOf(book->Days[i + 1].Date) != YearOf(book->Days[i].Date)) {
                curve.YearReturnPct.push_back((value / yearStart - 1) * 100);
                yearStart = value;
            }
        }
        figures.Curves.push_back(std::move(curve));
    }
    return figures;
}

TReportExtension PortfolioExtension(std::shared_ptr<TPortfolioSimulation> AKeep) {
    return [AKeep](const TRunHistory& AHistory) {
        TReportAddition addition;
        try {
            *AKeep = SimulatePortfolios(AHistory);
        } catch (const std::exception& e) {
            // The backtest's own results stand without the simulation.
            *AKeep = TPortfolioSimulation{};
            addition.Text =
                "Simulation du portefeuille impossible : " + std::string(e.what()) + LineBreak;
            return addition;
        }
        addition.Text = PortfolioSection(*AKeep);
        addition.Files = {
            {"_portefeuille.csv", "Portefeuille jour par jour", PortfolioCsvLines(*AKeep)},
            {"_operations.csv", "Operations du portefeuille", TradesCsvLines(*AKeep)}};
        return addition;
    };
}

}  // namespace cotalys
