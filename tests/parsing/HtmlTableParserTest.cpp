#include <gtest/gtest.h>

#include <string>

#include "core/Core.h"
#include "parsing/Parsing.h"
#include "parsing/ParsingTestSupport.h"

namespace cotalys {
namespace {

using test::ParseErrorOf;

// A table of a header row and AOnes sessions closing at 1, dated from 2 January 2024.
std::string PriceTable(int ASessions, const std::string& AHeader = "<th>Date</th><th>Cours</th>") {
    std::string table = "<table><tr>" + AHeader + "</tr>";
    for (int i = 0; i < ASessions; ++i) {
        table += "<tr><td>" + std::to_string(2 + i) + "/01/2024</td><td>1</td></tr>";
    }
    return table + "</table>";
}

TEST(HtmlEntities, NumericAndNamedReferences) {
    const struct {
        std::string In, Out;
    } cases[] = {
        {"1&nbsp;234", "1 234"},
        {"&NBSP;&Lt;b&GT;", " <b>"},
        {"&#233;t&#xE9;", "été"},
        {"&#8239;", "\xE2\x80\xAF"},
        {"&#X41;&#66;", "AB"},
        {"&#12ab;", " "},     // hexadecimal letters in a decimal reference
        {"&#0;&#x0;", "  "},  // zero is no character
        {"&#65536;&#x1F600;&#99999999999999999999;", "   "},
        {"&#xD83D;", " "},  // a surrogate alone
        {"&amp;lt;", "&lt;"},
        {"&amp;amp;", "&amp;"},
        {"&#38;lt;", "<"},
        {"&eacute;&Eacute;&ucirc;&ocirc;", "é&Eacute;ûô"},
        {"&quot;a&apos;", "\"a'"},
        {"&euro; &copy;", "&euro; &copy;"},
        {"R&D", "R&D"},
        {"&#;&#x;", "&#;&#x;"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(THtmlTableParser::DecodeEntities(c.In), c.Out) << c.In;
    }
}

TEST(HtmlCellText, TagsSpacesAndEntities) {
    const struct {
        std::string In, Out;
    } cases[] = {
        {"<span class=\"x\">1&nbsp;234,56</span>", "1 234,56"},
        {"  45,10 \n\t ", "45,10"},
        {"Plus<br>haut", "Plus haut"},
        {"Plus<BR />haut", "Plus haut"},
        {"a<b>b</b>c", "abc"},
        {"1\xC2\xA0"
         "234\xE2\x80\xAF"
         "567\xE2\x80\x89"
         "8",
         "1 234 567 8"},
        {"a \r\n  b", "a b"},
        {"&lt;b&gt;", "<b>"},  // decoded after the tags are gone
        {"x < y", "x < y"},    // no closing ">": not a tag
        {"a<b c", "a<b c"},
        {"<!-- -->", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(THtmlTableParser::CellText(c.In), c.Out) << c.In;
    }
}

TEST(HtmlStripNonContent, CommentsScriptsStylesAndNoscript) {
    const struct {
        std::string In, Out;
    } cases[] = {
        {"a<!-- x -->b<!--y-->c", "abc"},
        {"a<SCRIPT type=\"x\">var t = '<table>';</script >b", "ab"},
        {"a<style>td{}</STYLE>b<noscript>Activez JS</noscript>c", "abc"},
        {"a<scripts>b</scripts>", "a<scripts>b</scripts>"},  // not a script tag
        {"a<!-->b-->c", "ac"},
        {"a<!-- jamais ferme <table>", "a<!-- jamais ferme <table>"},
        // Comments go first, taking the script's closing tag with them.
        {"<script>\n<!-- x\n</script>-->", "<script>\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(THtmlTableParser::StripNonContent(c.In), c.Out) << c.In;
    }
}

TEST(HtmlExtractRows, ToleratesMissingClosingTags) {
    const std::vector<TCells> expected = {{"Date", "Cours"}, {"01/02/2024", "10"}, {"a", "b"}};
    const std::string tables[] = {
        "<tr><th>Date</th><th>Cours</th></tr><tr><td>01/02/2024</td><td>10</td></tr>"
        "<tr><td>a</td><td>b</td></tr>",
        "<tr><th>Date<th>Cours<tr><td>01/02/2024<td>10<tr><td>a<td>b",
        "<thead><TR class=\"h\"><th>Date</th><th>Cours</th></thead><tbody><tr><td>01/02/2024</td>"
        "<td>10</td></tbody><tbody><tr><td>a</td><td>b</td>",
        "<tr></tr><tr><th>Date</th><th>Cours</th></tr>\n<tr>\n<td>01/02/2024</td>\n<td>10</td>\n"
        "</tr><tr><td>a</td><td>b</td></tr><tr><track></tr>",
    };
    for (const auto& table : tables) {
        EXPECT_EQ(THtmlTableParser::ExtractRows(table), expected) << table;
    }
}

TEST(HtmlParser, FrenchHistoryPageWithNavigationTableAndDividendRow) {
    const auto [series, report, count] =
        test::ParseFixture(THtmlTableParser(-1), "french_history.html");
    EXPECT_EQ(count, 5);
    ASSERT_EQ(series.Count(), 5);
    EXPECT_EQ(report.SourceName(), "HTML");
    test::ExpectBar(series[0], EncodeDate(2024, 1, 22), 33, 33.6, 32.9, 33.2, 1204311);
    test::ExpectBar(series[1], EncodeDate(2024, 1, 19), 35.1, 35.5, 34.8, 35, 1500000);
    test::ExpectBar(series[2], EncodeDate(2024, 1, 18), 35.2, 35.4, 35, 35.22, 998800);
    test::ExpectBar(series[3], EncodeDate(2024, 1, 16), 36.61, 36.7, 35.9, 36, 2100000);
    test::ExpectBar(series[4], EncodeDate(2024, 1, 15), 36.5, 36.9, 36.02, 36.61, 0);
    // Row numbers count the title and header rows of the chosen table.
    test::ExpectIssues(report, {{6, "2 cellule(s) seulement"}});
    EXPECT_EQ(report.Warnings(), std::vector<std::string>{
                                     "Volumes illisibles sur certaines lignes : remplaces par 0"});
}

TEST(HtmlParser, ChosenTableFollowsTheIndex) {
    // Menu, a price table of 2 sessions, then one of 3.
    const std::string page =
        "<table><tr><td>Menu</td></tr></table>" + PriceTable(2) + PriceTable(3);
    const struct {
        int Index;
        int Bars;
    } cases[] = {{-1, 3}, {-7, 3}, {1, 2}, {2, 3}};
    for (const auto& c : cases) {
        TPriceSeries series("X");
        TParseReport report;
        EXPECT_EQ(THtmlTableParser(c.Index).Parse(page, series, report), c.Bars) << c.Index;
    }
}

TEST(HtmlParser, TiesKeepTheFirstTable) {
    TPriceSeries series("X");
    TParseReport report;
    const std::string second =
        "<table><tr><th>Date</th><th>Cours</th></tr>"
        "<tr><td>01/03/2024</td><td>7</td></tr>"
        "<tr><td>04/03/2024</td><td>7</td></tr></table>";
    THtmlTableParser().Parse(PriceTable(2) + second, series, report);
    EXPECT_EQ(series[0].Date, EncodeDate(2024, 1, 2));
}

TEST(HtmlParser, HeaderIsLookedForInTheFirstSixRowsOnly) {
    const auto withTitleRows = [](int ATitles) {
        std::string rows;
        for (int i = 0; i < ATitles; ++i) {
            rows += "<tr><td colspan=\"2\">Titre " + std::to_string(i) + "</td></tr>";
        }
        std::string table = PriceTable(3);
        return table.insert(std::string("<table>").size(), rows);
    };
    TPriceSeries series("X");
    TParseReport report;
    EXPECT_EQ(THtmlTableParser().Parse(withTitleRows(1), series, report), 3);
    EXPECT_EQ(report.Issues().size(), 0u);
    EXPECT_EQ(THtmlTableParser().Parse(withTitleRows(5), series, report), 3);
    EXPECT_EQ(ParseErrorOf(THtmlTableParser(), withTitleRows(6)),
              "HTML : 1 tableau(x) trouve(s) mais aucun avec colonnes Date et Cloture reconnues");
}

TEST(HtmlParser, OnlyTheFirstHeaderLikeRowOfATableCounts) {
    // The first header-like row has no dated row after its own columns: the table is dropped
    // even though a better header follows.
    const std::string page =
        "<table><tr><td>x</td><td>Date</td><td>Cours</td></tr>"
        "<tr><td>Date</td><td>Cours</td></tr>"
        "<tr><td>02/01/2024</td><td>5</td></tr></table>";
    EXPECT_EQ(ParseErrorOf(THtmlTableParser(), page),
              "HTML : 1 tableau(x) trouve(s) mais aucun avec colonnes Date et Cloture reconnues");
}

TEST(HtmlParser, DateAndCloseOnlyGiveFlatBarsAndBothWarnings) {
    TPriceSeries series("X");
    TParseReport report;
    EXPECT_EQ(THtmlTableParser().Parse(PriceTable(2), series, report), 2);
    test::ExpectBar(series[1], EncodeDate(2024, 1, 3), 1, 1, 1, 1, 0);
    EXPECT_EQ(report.Warnings(),
              (std::vector<std::string>{
                  "Colonne Volume absente : coloration par volume neutralisee",
                  "Colonnes OHL incompletes : reconstruites a partir de la cloture"}));
}

TEST(HtmlParser, NestedTableEndsTheOuterOne) {
    // The outer table's markup stops at the inner closing tag, so its rows are the outer
    // header and the inner table's rows.
    const std::string page =
        "<table><tr><th>Date</th><th>Cours</th></tr>"
        "<tr><td><table><tr><td>03/01/2024</td><td>5</td></tr></table></td></tr>"
        "<tr><td>04/01/2024</td><td>6</td></tr></table>";
    TPriceSeries series("X");
    TParseReport report;
    EXPECT_EQ(THtmlTableParser().Parse(page, series, report), 1);
    EXPECT_DOUBLE_EQ(series[0].Close, 5);
}

TEST(HtmlParser, UnusablePagesRaiseParseErrors) {
    const struct {
        std::string Content;
        int Index;
        std::string Text;
    } cases[] = {
        {"", -1, "contenu vide"},
        {" \r\n\t", -1, "contenu vide"},
        {"<html><body><div id=\"app\"></div><script src=\"app.js\"></script></body></html>", -1,
         "aucun <table> dans la page (contenu probablement genere en JavaScript ou page de "
         "consentement)"},
        {"<html><body><tablette></tablette></body></html>", -1,
         "aucun <table> dans la page (contenu probablement genere en JavaScript ou page de "
         "consentement)"},
        {"<!-- <table></table> --><p>rien</p>", -1, "balise </table> introuvable : HTML tronque ?"},
        {"<table><tr><td>02/01/2024</td><td>1", -1, "balise </table> introuvable : HTML tronque ?"},
        {"<table><tr><td>Menu</td></tr></table>" + PriceTable(2), 3,
         "tableau 3 inexistant (2 tableau(x))"},
        {"<table><tr><td>Menu</td></tr></table>" + PriceTable(2), 0,
         "2 tableau(x) trouve(s) mais aucun avec colonnes Date et Cloture reconnues"},
        {PriceTable(0), -1,
         "1 tableau(x) trouve(s) mais aucun avec colonnes Date et Cloture reconnues"},
        {"<table><tr><th>Date</th><th>Vol</th><th>Cours</th></tr><tr><td>02/01/2024</td><td>1</td>"
         "<td>0</td></tr><tr><td>03/01/2024</td></tr></table>",
         -1, "aucune ligne de cours exploitable (2 rejet(s))"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseErrorOf(THtmlTableParser(c.Index), c.Content), "HTML : " + c.Text)
            << c.Content;
    }
}

TEST(HtmlParser, BytesThatAreNotUtf8AreReadInTheCodePage) {
    // "Clôture" and "séance" written in Windows-1252.
    const std::string page =
        "<table><tr><th>S\xE9"
        "ance</th><th>Cl\xF4ture</th></tr>"
        "<tr><td>02/01/2024</td><td>12,5</td></tr></table>";
    TPriceSeries series("X");
    TParseReport report;
    EXPECT_EQ(THtmlTableParser().Parse(page, series, report), 1);
    EXPECT_DOUBLE_EQ(series[0].Close, 12.5);
}

}  // namespace
}  // namespace cotalys
