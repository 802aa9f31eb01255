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
// table, or at the end of the text, so missing closing tags are tolerated.
const TRegex& RowOpen() {
    static const TRegex Expression("<tr\\b[^>]*>", ICSL, "HTML");
    return Expression;
}

const TRegex& RowEnd() {
    static const TRegex Expression("</tr\\s*>|<tr\\b|</tbody|</table|\\z", ICSL, "HTML");
    return Expression;
}

const TRegex& CellOpen() {
    static const TRegex Expression("<t[dh]\\b[^>]*>", ICSL, "HTML");
    return Expression;
}

const TRegex& CellEnd() {
    static const TRegex Expression("</t[dh]\\s*>|<t[dh]\\b|\\z", ICSL, "HTML");
    return Expression;
}

// Every occurrence of AFrom replaced by ATo, left to right; replaced text is not scanned again.
std::string ReplaceText(std::string_view AText, std::string_view AFrom, std::string_view ATo,
                        bool AIgnoreCase) {
    std::string result;
    result.reserve(AText.size());
    std::size_t pos = 0;
    while (pos < AText.size()) {
        const std::string_view candidate = AText.substr(pos, AFrom.size());
        if (candidate.size() == AFrom.size() &&
            (AIgnoreCase ? SameTextAscii(candidate, AFrom) : candidate == AFrom)) {
            result.append(ATo);
            pos += AFrom.size();
        } else {
            result += AText[pos++];
        }
    }
    return result;
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
                 const TRegex& AOpen, const TRegex& AEnd, TMarkupSpan& ASpan) {
    TRegexMatch match;
    if (AOffset > AOpenLimit || !AOpen.Find(AText.substr(0, AOpenLimit), AOffset, match)) {
        return false;
    }
    ASpan.Begin = match.Begin();
    ASpan.InnerBegin = match.End();
    if (!AEnd.Find(AText, ASpan.InnerBegin, match)) {
        return false;
    }
    ASpan.InnerEnd = match.Begin();
    ASpan.End = match.End();
    return true;
}

std::vector<std::string_view> InnerMarkups(std::string_view AText, const TRegex& AOpen,
                                           const TRegex& AEnd, TElementEnd AEndKind) {
    std::vector<std::string_view> found;
    const std::size_t limit = OpenTagLimit(AText);
    TMarkupSpan span;
    for (std::size_t offset = 0; FindElement(AText, offset, limit, AOpen, AEnd, span);
         offset = AEndKind == TElementEnd::eeConsumed ? span.End : span.InnerEnd) {
        found.push_back(AText.substr(span.InnerBegin, span.InnerEnd - span.InnerBegin));
    }
    return found;
}

std::string THtmlTableParser::StripNonContent(std::string_view AHtml) {
    std::string text(AHtml);
    for (const auto& block : NonContentBlocks()) {
        std::string kept;
        std::size_t copied = 0;
        TMarkupSpan span;
        for (std::size_t offset = 0;
             FindElement(text, offset, text.size(), block.Open, block.Close, span);
             offset = span.End) {
            kept.append(text, copied, span.Begin - copied);
            copied = span.End;
        }
        kept.append(text, copied);
        text = std::move(kept);
    }
    return text;
}

std::vector<TCells> THtmlTableParser::ExtractRows(std::string_view ATableHtml) {
    std::vector<TCells> rows;
    for (const std::string_view row :
         InnerMarkups(ATableHtml, RowOpen(), RowEnd(), TElementEnd::eeLeftInPlace)) {
        TCells cells;
        for (const std::string_view cell :
             InnerMarkups(row, CellOpen(), CellEnd(), TElementEnd::eeLeftInPlace)) {
            cells.push_back(CellText(cell));
        }
        if (!cells.empty()) {
            rows.push_back(std::move(cells));
        }
    }
    return rows;
}

std::string THtmlTableParser::CellText(std::string_view ACellHtml) {
    static const TRegex LineBreak("<br\\s*/?>", IC, "HTML");
    static const TRegex Tag("<[^>]*>", TRegexOption::roNone, "HTML");
    std::string text(ACellHtml);
    if (text.find('<') != std::string::npos) {
        text = LineBreak.ReplaceAll(text, " ");
        // No tag ends after the last ">": the tail is kept as it stands.
        const std::size_t limit = OpenTagLimit(text);
        text = Tag.ReplaceAll(std::string_view(text).substr(0, limit), "") + text.substr(limit);
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
    return std::string(TrimControl(collapsed));
}

std::string THtmlTableParser::DecodeEntities(std::string_view AText) {
    if (AText.find('&') == std::string_view::npos) {
        return std::string(AText);
    }
    static const TRegex Numeric("&#([xX]?)([0-9A-Fa-f]+);", TRegexOption::roNone, "HTML");
    std::string text;
    text.reserve(AText.size());
    TRegexMatch match;
    std::size_t copied = 0;
    for (std::size_t offset = 0; Numeric.Find(AText, offset, match); offset = match.End()) {
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
        // Last, so that an escaped reference such as "&amp;lt;" stays the text "&lt;".
        {"&amp;", "&", true},
    };
    for (const auto& entity : Named) {
        if (text.find('&') == std::string::npos) {
            break;
        }
        text = ReplaceText(text, entity.From, entity.To, entity.IgnoreCase);
    }
    return text;
}

}  // namespace cotalys
