#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "support/DemoHistory.h"
#include "support/TestSupport.h"
#include "zones/SupportResistance.h"

// The zones of every bundled history over 320 and 1,500 sessions ending on three dates, against
// zone_reference.csv, written by real_history_reference.py: a plain recomputation with ISO
// calendar weeks, list-based clustering and no shared code. The windows include crashes,
// rebounds, closes inside a zone and touching zones that merge.
namespace cotalys {
namespace {

struct TReferenceZone {
    std::string Lab;
    double Bottom, Top;
    int Touches, Weekly, Confirmed;
    double Score;
};

struct TReferenceCase {
    double Atr = 0;
    std::vector<TReferenceZone> Zones;
};

using TCaseKey = std::tuple<std::string, std::string, int>;  // symbol, last day, sessions

std::map<TCaseKey, TReferenceCase> ReadReference() {
    std::ifstream file(test::FixturePath("zones/zone_reference.csv"));
    std::map<TCaseKey, TReferenceCase> cases;
    std::string line;
    std::getline(file, line);
    while (std::getline(file, line)) {
        std::vector<std::string> cells;
        std::istringstream stream(line);
        for (std::string cell; std::getline(stream, cell, ',');) {
            cells.push_back(cell);
        }
        cells.resize(11);
        TReferenceCase& c = cases[{cells[0], cells[1], std::stoi(cells[2])}];
        c.Atr = std::stod(cells[3]);
        if (cells[4] != "-") {
            c.Zones.push_back({cells[4], std::stod(cells[5]), std::stod(cells[6]),
                               std::stoi(cells[7]), std::stoi(cells[8]), std::stoi(cells[9]),
                               std::stod(cells[10])});
        }
    }
    return cases;
}

TEST(ZoneReference, EveryBundledHistoryMatchesThePlainRecomputation) {
    const std::map<TCaseKey, TReferenceCase> cases = ReadReference();
    ASSERT_GT(cases.size(), 150u);
    const TSupportResistanceAnalyzer analyzer(TSRParams::Default());
    for (const auto& [key, expected] : cases) {
        const auto& [symbol, last, sessions] = key;
        SCOPED_TRACE(symbol + " " + last + " " + std::to_string(sessions));
        const TDateTime lastDay =
            EncodeDate(std::stoi(last.substr(0, 4)), std::stoi(last.substr(5, 2)),
                       std::stoi(last.substr(8, 2)));
        TPriceSeries series = test::LoadDemoHistory(symbol, 0, lastDay);
        series.DeleteFirst(series.Count() - sessions);
        ASSERT_EQ(series.Count(), sessions);
        const TSRResult result = analyzer.Analyze(series);
        EXPECT_NEAR(result.Atr, expected.Atr, 1e-9 * expected.Atr);
        ASSERT_EQ(result.Zones.size(), expected.Zones.size());
        for (std::size_t i = 0; i < expected.Zones.size(); ++i) {
            const TPriceZone& zone = result.Zones[i];
            const TReferenceZone& reference = expected.Zones[i];
            EXPECT_EQ(zone.Lab(), reference.Lab);
            EXPECT_NEAR(zone.Bottom, reference.Bottom, 1e-9 * reference.Bottom);
            EXPECT_NEAR(zone.Top, reference.Top, 1e-9 * reference.Top);
            EXPECT_EQ(zone.Touches, reference.Touches) << reference.Lab;
            EXPECT_EQ(zone.WeeklyTouches, reference.Weekly) << reference.Lab;
            EXPECT_EQ(zone.VolumeConfirmed, reference.Confirmed) << reference.Lab;
            EXPECT_EQ(zone.Score, reference.Score) << reference.Lab;
        }
    }
}

}  // namespace
}  // namespace cotalys
