#pragma once

#include <string>
#include <string_view>

// Small text helpers of the providers, also used by the layers above.
namespace cotalys {

// ASCII letters lowered; other bytes (UTF-8 included) unchanged.
std::string LowerAscii(std::string_view AText);
// AText without the characters up to U+0020 at both ends.
std::string TrimBlanks(std::string_view AText);

}  // namespace cotalys
