#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "parsing/Regex.h"

namespace cotalys {

// Where one element of a page was found: the whole of it and its inner markup.
struct TMarkupSpan {
    std::size_t Begin = 0;       // start of the opening tag
    std::size_t InnerBegin = 0;  // just after the opening tag
    std::size_t InnerEnd = 0;    // start of what ends the element
    std::size_t End = 0;         // just after what ends the element
};

// How an element ends.
enum class TElementEnd {
    // At its closing tag, which belongs to it; without one there is no element.
    eeClosingTag,
    // Just before the next mark (the next row ends the previous one), or at the end of the text
    // when no mark follows, so missing closing tags are tolerated.
    eeNextMarkOrTextEnd,
};

// Finds, at or after AOffset, the next match of AOpen and then the first match of AEnd after it:
// what the lazy "OPEN(.*?)END" (or "OPEN(.*?)(?=END|\z)") would find, but searched in two steps
// so that a page full of unclosed tags costs linear time instead of a scan to the end from every
// tag. AOpenLimit bounds the search for the opening tag (see OpenTagLimit); AMatch is the
// caller's match data, reused from one element to the next. False when no element is left.
bool FindElement(std::string_view AText, std::size_t AOffset, std::size_t AOpenLimit,
                 const TRegex& AOpen, const TRegex& AEnd, TElementEnd AEndKind, TRegexMatch& AMatch,
                 TMarkupSpan& ASpan);

// The cells of one row as raw markup, before CellText.
using TRawRow = std::vector<std::string_view>;

// The rows of a table's inner markup with their cells' raw markup (views into ATableHtml); rows
// without cells dropped. A parse turns into text only the cells it reads.
std::vector<TRawRow> RawRows(std::string_view ATableHtml);

// The text of every cell of a raw row.
std::vector<std::string> RowText(const TRawRow& ARow);

// An opening tag that ends with ">" cannot end after the last ">" of the text: searching only up
// to there spares a scan to the end from every "<tr" or "<table" that is never closed.
inline std::size_t OpenTagLimit(std::string_view AText) {
    const auto last = AText.rfind('>');
    return last == std::string_view::npos ? 0 : last + 1;
}

// The inner markup of every element of AText whose opening tag (ending with ">") matches AOpen
// and whose end matches AEnd, in document order.
std::vector<std::string_view> InnerMarkups(std::string_view AText, const TRegex& AOpen,
                                           const TRegex& AEnd, TElementEnd AEndKind);

}  // namespace cotalys
