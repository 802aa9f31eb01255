#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/Core.h"
#include "parsing/Parsing.h"
#include "parsing/ParsingTestSupport.h"

namespace cotalys {
namespace {

// Runs a parser on damaged input: it may refuse the text with EParseError (and the chart parser
// may report a member of the wrong kind), but nothing else may escape and the process must
// survive. Run under the sanitizers, this also catches reads out of bounds.
void ExpectOnlyParseErrors(const IPriceParser& AParser, const std::string& AContent) {
    TPriceSeries series("X");
    TParseReport report;
    try {
        const int count = AParser.Parse(AContent, series, report);
        EXPECT_GE(count, 1);
        EXPECT_EQ(series.Count(), count);
        EXPECT_EQ(report.Accepted(), count);
    } catch (const EParseError&) {
    } catch (const std::runtime_error& E) {
        EXPECT_EQ(AParser.Name(), "Yahoo chart JSON") << E.what();
    }
}

std::vector<std::string> Damaged(const std::string& AOriginal, std::mt19937& ARandom) {
    std::vector<std::string> variants;
    std::uniform_int_distribution<std::size_t> position(0, AOriginal.size());
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 40; ++i) {
        variants.push_back(AOriginal.substr(0, position(ARandom)));  // cut short
        std::string flipped = AOriginal;
        for (int k = 0; k < 8 && !flipped.empty(); ++k) {
            flipped[position(ARandom) % flipped.size()] = static_cast<char>(byte(ARandom));
        }
        variants.push_back(flipped);
        std::string inserted = AOriginal;
        inserted.insert(position(ARandom), std::string(1 + position(ARandom) % 5,
                                                       "<>\"&;,\t\r\n{}[]#"[byte(ARandom) % 14]));
        variants.push_back(inserted);
    }
    std::string noise(2000, ' ');
    for (auto& c : noise) {
        c = static_cast<char>(byte(ARandom));
    }
    variants.push_back(noise);
    // Windows-1252 and UTF-16 bytes where UTF-8 was expected.
    variants.push_back(
        "Date;Cl\xF4ture\n02/01/2024;1\xA0"
        "234,5\n");
    variants.push_back(
        std::string("\xFF\xFE"
                    "D\0a\0t\0e\0",
                    10));
    return variants;
}

TEST(ParserRobustness, DamagedFixturesOnlyRaiseParseErrors) {
    const std::vector<std::shared_ptr<IPriceParser>> parsers = {
        std::make_shared<TCsvPriceParser>(), std::make_shared<THtmlTableParser>(-1),
        std::make_shared<TYahooChartParser>()};
    std::mt19937 random(20240115);
    for (const char* fixture : {"french_semicolon.csv", "english_adjclose.csv",
                                "french_history.html", "chart_renault.json", "chart_error.json"}) {
        for (const std::string& content :
             Damaged(test::ReadAll(test::FixturePath(std::string("parsing/") + fixture)), random)) {
            for (const auto& parser : parsers) {
                ExpectOnlyParseErrors(*parser, content);
            }
        }
    }
}

TEST(ParserRobustness, HostilePagesEndWithoutHanging) {
    // Each of these made the naive expressions scan to the end of the text from every tag.
    const std::string pages[] = {
        std::string(200'000, '<'),
        [] {
            std::string page;
            while (page.size() < 400'000)
                page += "<table><tr><td>1";
            return page;
        }(),
        [] {
            std::string page = "<table>";
            while (page.size() < 400'000)
                page += "<tr<td<!--<script";
            return page + "\xFF></table>";
        }(),
        [] {
            std::string page = "<table><tr><th>Date</th><th>Cours</th></tr><tr><td>";
            while (page.size() < 400'000)
                page += "<b<i";
            return page + "</td></tr></table>";
        }(),
        "<table>" + std::string(300'000, '[') + "</table>",
    };
    for (const auto& page : pages) {
        ExpectOnlyParseErrors(THtmlTableParser(), page);
    }
    ExpectOnlyParseErrors(TYahooChartParser(),
                          std::string(100'000, '[') + std::string(100'000, ']'));
    ExpectOnlyParseErrors(TYahooChartParser(), "{\"chart\":{\"error\":" + std::string(50'000, '[') +
                                                   std::string(50'000, ']') + "}}");
    ExpectOnlyParseErrors(TCsvPriceParser(), "Date;Cours\n" + std::string(300'000, '"'));
}

TEST(ParserRobustness, ParsersRunOnSeveralThreadsAtOnce) {
    // Loads of a symbol and of the index may overlap: the shared compiled expressions must serve
    // both, from their first use on.
    const std::string page = test::ReadAll(test::FixturePath("parsing/french_history.html"));
    const std::string csv = test::ReadAll(test::FixturePath("parsing/french_semicolon.csv"));
    std::vector<int> counts(8, 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < counts.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i) {
                TPriceSeries series("X");
                TParseReport report;
                counts[t] += t % 2 == 0 ? THtmlTableParser().Parse(page, series, report)
                                        : TCsvPriceParser().Parse(csv, series, report);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (std::size_t t = 0; t < counts.size(); ++t) {
        EXPECT_EQ(counts[t], t % 2 == 0 ? 100 : 80) << t;
    }
}

}  // namespace
}  // namespace cotalys
