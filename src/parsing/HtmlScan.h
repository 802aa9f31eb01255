#pragma once

#include <cstddef>
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

// Finds, at or after AOffset, the next match of AOpen and then the first match of AEnd after it:
// what the lazy "OPEN(.*?)END" would find, but searched in two steps so that a page full of
// unclosed tags costs linear time instead of a scan to the end from every tag. AOpenLimit bounds
// the search for the opening tag (see OpenTagLimit). False when either part is missing, and then
// no later element can be found either.
bool FindElement(std::string_view AText, std::size_t AOffset, std::size_t AOpenLimit,
                 const TRegex& AOpen, const TRegex& AEnd, TMarkupSpan& ASpan);

// An opening tag that ends with ">" cannot end after the last ">" of the text: searching only up
// to there spares a scan to the end from every "<tr" or "<table" that is never closed.
inline std::size_t OpenTagLimit(std::string_view AText) {
    const auto last = AText.rfind('>');
    return last == std::string_view::npos ? 0 : last + 1;
}

// Whether the mark that ends an element belongs to it (a closing tag) or to what follows (the
// next row, which only ends the previous one).
enum class TElementEnd { eeConsumed, eeLeftInPlace };

// The inner markup of every element of AText whose opening tag (ending with ">") matches AOpen
// and whose end matches AEnd, in document order.
std::vector<std::string_view> InnerMarkups(std::string_view AText, const TRegex& AOpen,
                                           const TRegex& AEnd, TElementEnd AEndKind);

}  // namespace cotalys
