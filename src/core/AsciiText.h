#pragma once

#include <string>
#include <string_view>

namespace cotalys {

// AText without the bytes up to U+0020 (blanks and control characters) at both ends; a
// no-break space and other UTF-8 text are kept.
std::string_view TrimBlanks(std::string_view AText);
// ASCII letters lowered / raised; other bytes (UTF-8 included) unchanged.
std::string LowerAscii(std::string_view AText);
std::string UpperAscii(std::string_view AText);
// Equality ignoring the case of ASCII letters (ini keys, column names, charsets).
bool SameTextAscii(std::string_view A, std::string_view B);

}  // namespace cotalys
