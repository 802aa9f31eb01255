#include "parsing/HtmlTableParser.h"

#include <algorithm>

#include "core/Core.h"
#include "parsing/CellRecognisers.h"
#include "parsing/HtmlScan.h"
#include "parsing/TextHelpers.h"

namespace cotalys {
namespace {

constexpr auto ICSL = TRegexOption::roIgnoreCase | TRegexOption::roDotAll;

// A header is looked for among the first rows only: a title or a unit line may precede it.
constexpr std::size_t HeaderSearchRows = 6;

// The inner markup of every table of a cleaned page, in document order. A table nested in another
// ends the outer one at its own closing tag.
std::vector<std::string_view> Tables(std::string_view APage) {
    static const TRegex Open("<table\\b[^>]*>", ICSL, "HTML");
    static const TRegex Close("</table\\s*>", ICSL, "HTML");
    return InnerMarkups(APage, Open, Close, TElementEnd::eeClosingTag);
}

// The table chosen for its prices: its rows, where its header is and what its columns are.
struct TPriceTable {
    std::vector<TRawRow> Rows;
    std::size_t HeaderRow = 0;
    TColumnMap Map;
    int DatedRows = 0;
};

// Rows after AHeaderRow whose date cell reads as a date.
int CountDatedRows(const std::vector<TRawRow>& ARows, std::size_t AHeaderRow,
                   std::int32_t ADateCol) {
    int count = 0;
    TDateTime day = 0;
    const auto column = static_cast<std::size_t>(ADateCol);
    for (std::size_t r = AHeaderRow + 1; r < ARows.size(); ++r) {
        if (column < ARows[r].size() &&
            ParseDate(THtmlTableParser::CellText(ARows[r][column]), day)) {
            ++count;
        }
    }
    return count;
}

}  // namespace

int THtmlTableParser::Parse(std::string_view AContent, TPriceSeries& ASeries,
                            TParseReport& AReport) const {
    AReport.SetSourceName(Name());
    const auto fail = [this](const std::string& AText) {
        return EParseError::CreateAt(Name(), 0, AText);
    };
    if (IsBlank(AContent)) {
        throw fail("contenu vide");
    }
    // Stray bytes that are not UTF-8 would stop the expressions at every one of them; such a page
    // is read in the 8-bit code page, as a file would be.
    std::string recoded;
    std::string_view page = AContent;
    if (!IsValidUtf8(AContent)) {
        recoded = Windows1252ToUtf8(AContent);
        page = recoded;
    }
    static const TRegex TableTag("<table\\b", TRegexOption::roIgnoreCase, "HTML");
    if (!TableTag.Contains(page)) {
        throw fail(
            "aucun <table> dans la page (contenu probablement genere en JavaScript ou page de "
            "consentement)");
    }
    const std::string cleaned = StripNonContent(page);
    const std::vector<std::string_view> tables = Tables(cleaned);
    if (tables.empty()) {
        throw fail("balise </table> introuvable : HTML tronque ?");
    }

    TPriceTable best;
    for (std::size_t j = 0; j < tables.size(); ++j) {
        if (FTableIndex >= 0 && static_cast<std::size_t>(FTableIndex) != j) {
            continue;
        }
        std::vector<TRawRow> rows = RawRows(tables[j]);
        const std::size_t candidates = std::min(rows.size(), HeaderSearchRows);
        for (std::size_t p = 0; p < candidates; ++p) {
            const TColumnMap map = DetectColumns(RowText(rows[p]));
            if (!HasRequiredColumns(map)) {
                continue;
            }
            // Only the first header-like row of a table counts, chosen or not.
            const int dated = CountDatedRows(rows, p, map.Date);
            if (dated > best.DatedRows) {
                best = TPriceTable{std::move(rows), p, map, dated};
            }
            break;
        }
    }
    const int tableCount = static_cast<int>(tables.size());
    if (best.DatedRows == 0) {
        if (FTableIndex < tableCount) {
            throw fail(
                Format("%d tableau(x) trouve(s) mais aucun avec colonnes Date et Cloture reconnues",
                       tableCount));
        }
        throw fail(Format("tableau %d inexistant (%d tableau(x))", FTableIndex, tableCount));
    }

    const TColumnMap& map = best.Map;
    if (map.Volume < 0) {
        AReport.Warn("Colonne Volume absente : coloration par volume neutralisee");
    }
    if (map.Open < 0 || map.High < 0 || map.Low < 0) {
        AReport.Warn("Colonnes OHL incompletes : reconstruites a partir de la cloture");
    }
    int count = 0;
    for (std::size_t r = best.HeaderRow + 1; r < best.Rows.size(); ++r) {
        TPriceBar bar;
        if (BuildBar(RowText(best.Rows[r]), map, static_cast<int>(r) + 1, AReport, bar)) {
            ASeries.Add(bar);
            ++count;
        }
    }
    FinishParse(count, AReport);
    return count;
}

}  // namespace cotalys
