#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "core/Core.h"
#include "parsing/Regex.h"

namespace cotalys {
namespace {

TEST(Regex, FindsGroupsFromAnOffset) {
    const TRegex expression("<t([dh])>(\\w*)", TRegexOption::roIgnoreCase, "HTML");
    const std::string subject = "<TD>ab<th>cd";
    TRegexMatch match;
    ASSERT_TRUE(expression.Find(subject, 0, match));
    EXPECT_EQ(match.Group(subject, 1), "D");
    EXPECT_EQ(match.Group(subject, 2), "ab");
    ASSERT_TRUE(expression.Find(subject, match.End(), match));
    EXPECT_EQ(match.Begin(), 6u);
    EXPECT_EQ(match.Group(subject, 2), "cd");
    EXPECT_FALSE(expression.Find(subject, match.End(), match));
    EXPECT_FALSE(expression.Find(subject, subject.size() + 5, match));
}

TEST(Regex, UtfModeAndInvalidBytes) {
    const TRegex word("^[^\\s\\d]+$", TRegexOption::roNone, "Date");
    EXPECT_TRUE(word.Contains("Août"));
    // Invalid UTF-8 neither matches nor fails the search.
    EXPECT_FALSE(word.Contains("Ao\xFBt"));
    const TRegex tag("<b>", TRegexOption::roIgnoreCase, "HTML");
    EXPECT_EQ(tag.ReplaceAll("\xFF<B>x\xE9<b>", "-"), "\xFF-x\xE9-");
}

TEST(Regex, ReplaceAllHandlesEmptyMatches) {
    const TRegex spaces(" *", TRegexOption::roNone, "HTML");
    EXPECT_EQ(spaces.ReplaceAll("a  b", "_"), "_a__b_");
}

TEST(Regex, RunawayBacktrackingIsACleanParseError) {
    const TRegex runaway("^(a+)+$", TRegexOption::roNone, "HTML");
    const std::string subject = std::string(40, 'a') + "b";
    try {
        runaway.Contains(subject);
        FAIL() << "the search should have been stopped";
    } catch (const EParseError& E) {
        EXPECT_EQ(E.SourceName(), "HTML");
        EXPECT_EQ(E.LineNo(), 0);
        EXPECT_NE(E.Message().find("HTML : contenu trop complexe"), std::string::npos)
            << E.Message();
    }
}

TEST(Regex, OneCompiledExpressionServesSeveralThreads) {
    static const TRegex row("<tr\\b[^>]*>", TRegexOption::roIgnoreCase, "HTML");
    std::string page;
    for (int i = 0; i < 2000; ++i) {
        page += "<tr class=\"r\"><td>" + std::to_string(i) + "</td>";
    }
    std::vector<int> counts(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            TRegexMatch match;
            for (std::size_t offset = 0; row.Find(page, offset, match); offset = match.End()) {
                ++counts[static_cast<std::size_t>(t)];
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(counts, std::vector<int>(4, 2000));
}

TEST(Regex, InvalidPatternIsAProgrammingError) {
    EXPECT_THROW(TRegex("(", TRegexOption::roNone, "HTML"), std::logic_error);
}

}  // namespace
}  // namespace cotalys
