#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "signals/EntrySignals.h"

namespace cotalys {
namespace {

// A signal on ADay with its result at +20 sessions, without and with the stop.
TEntrySignal Signal(TDateTime ADay, double APerf20, double APerf20Stop) {
    TEntrySignal signal;
    signal.Date = ADay;
    signal.Perf20 = APerf20;
    signal.Perf20Stop = APerf20Stop;
    return signal;
}

// AEach signals a month for AMonths months from January 2019, results drawn around AMean.
std::vector<TEntrySignal> Spread(int AMonths, int AEach, double AMean, std::uint64_t ASeed) {
    std::mt19937_64 generator(ASeed);
    std::vector<TEntrySignal> signals;
    for (int m = 0; m < AMonths; ++m) {
        for (int k = 0; k < AEach; ++k) {
            // -2 .. +2 around the mean, in steps of 1/8 so that sums stay exact.
            const double noise = static_cast<double>(UniformBelow(generator, 33)) / 8 - 2;
            signals.push_back(
                Signal(IncMonth(EncodeDate(2019, 1, 2), m) + k, AMean + noise, AMean + noise - 1));
        }
    }
    return signals;
}

TEST(ConfidenceTest, DrawsAreTheSameOnEveryPlatform) {
    // The standard fixes the generator's 10,000th word; the mapping to a range is ours.
    std::mt19937_64 standard;
    standard.discard(9999);
    EXPECT_EQ(standard(), 9981545732273789042ULL);
    std::mt19937_64 generator(7);
    std::vector<std::uint64_t> draws;
    for (int i = 0; i < 6; ++i) {
        draws.push_back(UniformBelow(generator, 37));
    }
    EXPECT_EQ(draws, (std::vector<std::uint64_t>{4, 11, 24, 4, 2, 2}));
}

TEST(ConfidenceTest, ALargeTrueDifferenceIsBetter) {
    const std::vector<TEntrySignal> reference = Spread(24, 20, 0, 1);
    const TConfidenceRow better =
        CompareWithReference("Bon", Spread(24, 1, 4, 2), reference, ConfidenceSeed(1, 0));
    EXPECT_EQ(better.Signals, 24);
    EXPECT_EQ(better.Months, 24);
    EXPECT_GT(better.Low20, 0);
    EXPECT_LT(better.Low20, better.Diff20);
    EXPECT_GT(better.High20, better.Diff20);
    EXPECT_EQ(better.Verdict, TConfidenceVerdict::cvBetter);
    // The stop costs a point here, set against the reference's plain result.
    EXPECT_DOUBLE_EQ(better.DiffStop, better.Diff20 - 1);
    const TConfidenceRow worse =
        CompareWithReference("Mauvais", Spread(24, 1, -4, 3), reference, ConfidenceSeed(1, 1));
    EXPECT_EQ(worse.Verdict, TConfidenceVerdict::cvWorse);
}

TEST(ConfidenceTest, TheSameDistributionIsUndecidedOnNearlyEverySeed) {
    int undecided = 0;
    for (std::uint64_t seed = 0; seed < 20; ++seed) {
        const TConfidenceRow row = CompareWithReference("Pareil", Spread(24, 2, 0, 100 + seed),
                                                        Spread(24, 20, 0, 200 + seed), seed);
        undecided += row.Verdict == TConfidenceVerdict::cvUndecided ? 1 : 0;
    }
    EXPECT_GE(undecided, 17);
}

TEST(ConfidenceTest, TheSameSeedGivesTheSameBounds) {
    const std::vector<TEntrySignal> signals = Spread(12, 2, 1, 4);
    const std::vector<TEntrySignal> reference = Spread(12, 20, 0, 5);
    const TConfidenceRow first = CompareWithReference("A", signals, reference, 42);
    const TConfidenceRow second = CompareWithReference("A", signals, reference, 42);
    EXPECT_EQ(first.Low20, second.Low20);
    EXPECT_EQ(first.High20, second.High20);
    EXPECT_EQ(first.LowStop, second.LowStop);
    EXPECT_EQ(first.HighStop, second.HighStop);
}

TEST(ConfidenceTest, TooFewSignalsOrMonthsTellNothing) {
    const std::vector<TEntrySignal> reference = Spread(12, 20, 0, 6);
    const struct {
        int Months, Each;
        TConfidenceVerdict Verdict;
    } cases[] = {{9, 1, TConfidenceVerdict::cvTooFew},
                 {5, 2, TConfidenceVerdict::cvTooFew},
                 {10, 1, TConfidenceVerdict::cvBetter},
                 {6, 2, TConfidenceVerdict::cvBetter}};
    for (const auto& c : cases) {
        const TConfidenceRow row =
            CompareWithReference("X", Spread(c.Months, c.Each, 6, 7), reference, 9);
        EXPECT_EQ(row.Verdict, c.Verdict) << c.Months << " x " << c.Each;
    }
    const TConfidenceRow none = CompareWithReference("Vide", {}, reference, 9);
    EXPECT_TRUE(std::isnan(none.Diff20));
    EXPECT_EQ(none.Verdict, TConfidenceVerdict::cvTooFew);
}

TEST(ConfidenceTest, EachVerdictHasItsWord) {
    const std::pair<TConfidenceVerdict, const char*> words[] = {
        {TConfidenceVerdict::cvBetter, "mieux"},
        {TConfidenceVerdict::cvWorse, "moins bien"},
        {TConfidenceVerdict::cvUndecided, "indecis"},
        {TConfidenceVerdict::cvTooFew, "trop peu"},
    };
    ASSERT_EQ(std::size(words), ConfidenceVerdicts.size());
    for (std::size_t i = 0; i < ConfidenceVerdicts.size(); ++i) {
        EXPECT_EQ(ConfidenceVerdicts[i], words[i].first);
        EXPECT_STREQ(VerdictText(words[i].first), words[i].second);
    }
}

TEST(ConfidenceTest, TableLinesInTheReportStyle) {
    TConfidenceRow row;
    row.Name = "RSI obligatoire (defaut)";
    row.Signals = 12;
    row.Diff20 = 1.25;
    row.Low20 = -0.375;
    row.High20 = 2.875;
    row.DiffStop = NaN;
    row.Verdict = TConfidenceVerdict::cvUndecided;
    EXPECT_EQ(ConfidenceTable({row}),
              "Ecart a la reference (IC 95 %, reechantillonnage par mois)\r\n"
              "  Reglage                      Sig.  Ecart +20 s.                Ecart +20 s. stop  "
              "         Verdict\r\n"
              "  RSI obligatoire (defaut)        12  +1,3 % [-0,4 ; +2,9]        -                "
              "           indecis");
}

}  // namespace
}  // namespace cotalys
