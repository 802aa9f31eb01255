// Pages of several megabytes that no site would serve on purpose: unclosed tags by the hundred
// thousand and tables nested thousands deep. The parser reads what can be read and refuses the
// rest with its own messages.
#include <gtest/gtest.h>

#include <string>

#include "core/Core.h"
#include "parsing/Parsing.h"

namespace cotalys {
namespace {

const std::size_t FiveMegabytes = 5 * 1024 * 1024;

const std::string PriceTable =
    "<table><tr><th>Date<th>Cloture<th>Volume"
    "<tr><td>02/01/2024<td>45,10<td>1200"
    "<tr><td>03/01/2024<td>45,60<td>1300</table>";

std::string Repeat(const std::string& APiece, std::size_t ACount) {
    std::string text;
    text.reserve(APiece.size() * ACount);
    for (std::size_t i = 0; i < ACount; ++i) {
        text += APiece;
    }
    return text;
}

// The message of the EParseError that parsing APage raises; fails the test otherwise.
std::string RefusalOf(const std::string& APage) {
    TPriceSeries series("RNO.PA");
    TParseReport report;
    try {
        THtmlTableParser().Parse(APage, series, report);
    } catch (const EParseError& e) {
        return e.Message();
    }
    ADD_FAILURE() << "page accepted";
    return "";
}

TEST(HostilePages, FiveMegabytesOfUnclosedRowsAreReadRowByRow) {
    const std::string row = "<tr><td>02/01/2024<td>45,10<td>1200";
    const std::size_t rows = FiveMegabytes / row.size();
    const std::string page =
        "<html><body><table><tr><th>Date<th>Cloture<th>Volume" + Repeat(row, rows) + "</table>";
    TPriceSeries series("RNO.PA");
    TParseReport report;
    ASSERT_EQ(THtmlTableParser().Parse(page, series, report), static_cast<int>(rows));
    EXPECT_EQ(report.Rejected(), 0);
    EXPECT_EQ(series.Bars().back().Close, 45.1);
    EXPECT_EQ(series.Bars().back().Volume, 1200);
}

TEST(HostilePages, FiveMegabytesOfUnclosedTablesAreRefused) {
    const std::string piece = "<table><tr><td>";
    const std::string unclosed = Repeat(piece, FiveMegabytes / piece.size());
    EXPECT_EQ(RefusalOf(unclosed), "HTML : balise </table> introuvable : HTML tronque ?");
    // One closing tag at the very end closes the first table around all the others.
    EXPECT_EQ(RefusalOf(unclosed + "</table>"),
              "HTML : 1 tableau(x) trouve(s) mais aucun avec colonnes Date et Cloture reconnues");
}

TEST(HostilePages, NestedTables) {
    const std::string opening = "<table><tr><td>";
    const std::string closing = "</td></tr></table>";
    // A layout a few tables deep still shows its prices among the outer table's first rows.
    TPriceSeries series("RNO.PA");
    TParseReport report;
    EXPECT_EQ(THtmlTableParser().Parse(Repeat(opening, 2) + PriceTable + Repeat(closing, 2), series,
                                       report),
              2);
    // Thousands deep, the prices are far below the rows where a header is looked for.
    const std::size_t depth = FiveMegabytes / (opening.size() + closing.size());
    EXPECT_EQ(RefusalOf(Repeat(opening, depth) + PriceTable + Repeat(closing, depth)),
              "HTML : 1 tableau(x) trouve(s) mais aucun avec colonnes Date et Cloture reconnues");
}

}  // namespace
}  // namespace cotalys
