#pragma once

#include <string>
#include <string_view>

namespace cotalys {
// Kept apart from the same-named helpers of the parsing and providers layers, which the programs
// above link together with these.
inline namespace sizing_text {

// AText without leading and trailing control characters and blanks (every byte up to the space),
// as hand-edited settings and typed symbols may carry them.
std::string_view TrimBlanks(std::string_view AText);
// AText with its ASCII letters upper-cased; other bytes, UTF-8 included, are kept.
std::string UpperAscii(std::string_view AText);
// Equality ignoring the case of ASCII letters, as ini sections and keys are compared.
bool SameTextAscii(std::string_view A, std::string_view B);

}  // namespace sizing_text
}  // namespace cotalys
