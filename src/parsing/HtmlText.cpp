#include <string>
#include <vector>

#include "parsing/HtmlScan.h"
#include "parsing/HtmlTableParser.h"
#include "parsing/TextHelpers.h"

namespace cotalys {
namespace {

constexpr auto IC = TRegexOption::roIgnoreCase;
constexpr auto ICSL = TRegexOption::roIgnoreCase | TRegexOption::roDotAll;

// A kind of block that carries no content, from its opening to its closing mark.
struct TNonContent {
    const TRegex& Open;
    const TRegex& Close;
};

const std::vector<TNonContent>& NonContentBlocks() {
    static const TRegex CommentOpen("<!--", ICSL, "HTML");
    static const TRegex CommentClose("-->", ICSL, "HTML");
    static const TRegex ScriptOpen("<script\\b", ICSL, "HTML");
    static const TRegex ScriptClose("</script\\s*>", ICSL, "HTML");
    static const TRegex StyleOpen("<style\\b", ICSL, "HTML");
    static const TRegex StyleClose("</style\\s*>", ICSL, "HTML");
    static const TRegex NoScriptOpen("<noscript\\b", ICSL, "HTML");
    static const TRegex NoScriptClose("</noscript\\s*>", ICSL, "HTML");
    static const std::vector<TNonContent> Blocks = {{CommentOpen, CommentClose},
                                                    {ScriptOpen, ScriptClose},
                                                    {StyleOpen, StyleClose},
                                                    {NoScriptOpen, NoScriptClose}};
    return Blocks;
}

// Rows and cells end at their closing tag, at the next row or cell, at the end of the body or
// table, or at the end of the text, so missing closing tags are tolerated. The end of the text is
// left out of the expressions: they then start with "<", which the engine looks for quickly.
const TRegex& RowOpen() {
    static const TRegex Expression("<tr\\b[^>]*>", ICSL, "HTML");
    return Expression;
}

const TRegex& RowEnd() {
    static const TRegex Expression("</tr\\s*>|<tr\\b|</tbody|</table", ICSL, "HTML");
    return Expression;
}

const TRegex& CellOpen() {
    static const TRegex Expression("<t[dh]\\b[^>]*>", ICSL, "HTML");
    return Expression;
}

const TRegex& CellEnd() {
    static const TRegex Expression("</t[dh]\\s*>|<t[dh]\\b", ICSL, "HTML");
    return Expression;
}

// The value of a numeric reference's digits; 0 when they do not read (hexadecimal letters in a
// decimal reference) and anything above 0xFFFF reported as 0x10000.
char32_t ReferenceValue(std::string_view ADigits, bool AHex) {
    char32_t value = 0;
    for (const char c : ADigits) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (!AHex) {
            return 0;
        } else {
            digit = (c | 0x20) - 'a' + 10;
        }
        value = value * (AHex ? 16 : 10) + static_cast<char32_t>(digit);
        if (value > 0xFFFF) {
            value = 0x10000;
        }
    }
    return value;
}

// AText without its tags: every "<" with all up to the next ">" (what "<[^>]*>" matches), scanned
// by hand because every cell of a page goes through it. A "<" never closed stays as text.
std::string WithoutTags(std::string_view AText) {
    std::string text;
    text.reserve(AText.size());
    std::size_t pos = 0;
    while (pos < AText.size()) {
        const auto open = AText.find('<', pos);
        const auto close = open == std::string_view::npos ? open : AText.find('>', open);
        if (close == std::string_view::npos) {
            break;
        }
        text.append(AText.substr(pos, open - pos));
        pos = close + 1;
    }
    text.append(AText.substr(pos));
    return text;
}

// Cheap test that lets most cells skip the line-break expression: "<br" in any case.
bool HasLineBreakTag(std::string_view AText) {
    for (auto pos = AText.find('<'); pos != std::string_view::npos;
         pos = AText.find('<', pos + 1)) {
        if (SameTextAscii(AText.substr(pos, 3), "<br")) {
            return true;
        }
    }
    return false;
}

bool IsSpaceChar(char AChar) {
    return AChar == ' ' || (AChar >= '\t' && AChar <= '\r');  // what "\s" matches
}

// Every no-break, narrow no-break and thin space becomes a plain space.
std::string WithPlainSpaces(std::string_view AText) {
    std::string text(AText);
    for (const std::string_view space : {"\xC2\xA0", "\xE2\x80\xAF", "\xE2\x80\x89"}) {
        if (text.find(space) != std::string::npos) {
            text = ReplaceText(text, space, " ", false);
        }
    }
    return text;
}

}  // namespace

bool FindElement(std::string_view AText, std::size_t AOffset, std::size_t AOpenLimit,
                 const TRegex& AOpen, const TRegex& AEnd, TElementEnd AEndKind, TRegexMatch& AMatch,
                 TMarkupSpan& ASpan) {
    if (AOffset > AOpenLimit || !AOpen.Find(AText.substr(0, AOpenLimit), AOffset, AMatch)) {
        return false;
    }
    ASpan.Begin = AMatch.Begin();
    ASpan.InnerBegin = AMatch.End();
    if (AEnd.Find(AText, ASpan.InnerBegin, AMatch)) {
        ASpan.InnerEnd = AMatch.Begin();
        ASpan.End = AMatch.End();
        return true;
    }
    ASpan.InnerEnd = ASpan.End = AText.size();
    return AEndKind == TElementEnd::eeNextMarkOrTextEnd;
}

std::vector<std::string_view> InnerMarkups(std::string_view AText, const TRegex& AOpen,
                                           const TRegex& AEnd, TElementEnd AEndKind) {
    std::vector<std::string_view> found;
    const std::size_t limit = OpenTagLimit(AText);
    TRegexMatch match;
    TMarkupSpan span;
    for (std::size_t offset = 0;
         FindElement(AText, offset, limit, AOpen, AEnd, AEndKind, match, span);
         offset = AEndKind == TElementEnd::eeClosingTag ? span.End : span.InnerEnd) {
        found.push_back(AText.substr(span.InnerBegin, span.InnerEnd - span.InnerBegin));
    }
    return found;
}

std::string THtmlTableParser::StripNonContent(std::string_view AHtml) {
    std::string text(AHtml);
    for (const auto& block : NonContentBlocks()) {
        std::string kept;
        std::size_t copied = 0;
        TRegexMatch match;
        TMarkupSpan span;
        for (std::size_t offset = 0; FindElement(text, offset, text.size(), block.Open, block.Close,
                                                 TElementEnd::eeClosingTag, match, span);
             offset = span.End) {
            kept.append(text, copied, span.Begin - copied);
            copied = span.End;
        }
        if (copied > 0) {
            kept.append(text, copied);
            text = std::move(kept);
        }
    }
    return text;
}

std::vector<TRawRow> RawRows(std::string_view ATableHtml) {
    std::vector<TRawRow> rows;
    for (const std::string_view row :
         InnerMarkups(ATableHtml, RowOpen(), RowEnd(), TElementEnd::eeNextMarkOrTextEnd)) {
        TRawRow cells = InnerMarkups(row, CellOpen(), CellEnd(), TElementEnd::eeNextMarkOrTextEnd);
        if (!cells.empty()) {
            rows.push_back(std::move(cells));
        }
    }
    return rows;
}

std::vector<std::string> RowText(const TRawRow& ARow) {
    std::vector<std::string> cells;
    cells.reserve(ARow.size());
    for (const std::string_view cell : ARow) {
        cells.push_back(THtmlTableParser::CellText(cell));
    }
    return cells;
}

std::vector<TCells> THtmlTableParser::ExtractRows(std::string_view ATableHtml) {
    std::vector<TCells> rows;
    for (const TRawRow& row : RawRows(ATableHtml)) {
        rows.push_back(RowText(row));
    }
    return rows;
}

std::string THtmlTableParser::CellText(std::string_view ACellHtml) {
    static const TRegex LineBreak("<br\\s*/?>", IC, "HTML");
    std::string text(ACellHtml);
    if (text.find('<') != std::string::npos) {
        if (HasLineBreakTag(text)) {
            text = LineBreak.ReplaceAll(text, " ");
        }
        text = WithoutTags(text);
    }
    text = WithPlainSpaces(DecodeEntities(text));
    std::string collapsed;
    collapsed.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsSpaceChar(text[i])) {
            collapsed += text[i];
        } else if (i == 0 || !IsSpaceChar(text[i - 1])) {
            collapsed += ' ';
        }
    }
    return std::string(TrimBlanks(collapsed));
}

std::string THtmlTableParser::DecodeEntities(std::string_view AText) {
    if (AText.find('&') == std::string_view::npos) {
        return std::string(AText);
    }
    static const TRegex Numeric("&#([xX]?)([0-9A-Fa-f]+);", TRegexOption::roNone, "HTML");
    std::string text;
    text.reserve(AText.size());
    std::size_t copied = 0;
    TRegexMatch match;
    const bool hasNumeric = AText.find("&#") != std::string_view::npos;
    for (std::size_t offset = 0; hasNumeric && Numeric.Find(AText, offset, match);
         offset = match.End()) {
        text.append(AText.substr(copied, match.Begin() - copied));
        const char32_t value =
            ReferenceValue(match.Group(AText, 2), !match.Group(AText, 1).empty());
        // Only UTF-16 code units are references; a surrogate alone is no character.
        if (value == 0 || value > 0xFFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            text += ' ';
        } else {
            AppendUtf8(text, value);
        }
        copied = match.End();
    }
    text.append(AText.substr(copied));

    // One pass does what replacing each name in turn would: every name starts with the only "&"
    // it holds and no replacement brings one back, so matches never overlap nor appear anew.
    static const struct {
        std::string_view From, To;
        bool IgnoreCase;
    } Named[] = {
        {"&nbsp;", " ", true},
        {"&lt;", "<", true},
        {"&gt;", ">", true},
        {"&quot;", "\"", true},
        {"&apos;", "'", true},
        {"&eacute;", "\xC3\xA9", false},
        {"&ucirc;", "\xC3\xBB", false},
        {"&ocirc;", "\xC3\xB4", false},
        // "&amp;" gives a plain "&" that is not read again, so "&amp;lt;" stays the text "&lt;".
        {"&amp;", "&", true},
    };
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        bool replaced = false;
        if (text[pos] == '&') {
            const std::string_view rest = std::string_view(text).substr(pos);
            for (const auto& entity : Named) {
                const std::string_view candidate = rest.substr(0, entity.From.size());
                if (entity.IgnoreCase ? SameTextAscii(candidate, entity.From)
                                      : candidate == entity.From) {
                    decoded.append(entity.To);
                    pos += entity.From.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) {
            decoded += text[pos++];
        }
    }
    return decoded;
}

}  // namespace cotalys
