#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/Core.h"

namespace cotalys {

// Helpers shared by the parsers of this folder.

// True when AText consists only of characters up to U+0020.
inline bool IsBlank(std::string_view AText) {
    return TrimBlanks(AText).empty();
}

// The first ACount characters (code points) of a UTF-8 text, never cutting a character in two.
std::string FirstChars(std::string_view AText, std::size_t ACount);

// Every occurrence of AFrom replaced by ATo, left to right (ASCII case ignored when asked);
// replaced text is not scanned again.
std::string ReplaceText(std::string_view AText, std::string_view AFrom, std::string_view ATo,
                        bool AIgnoreCase);

}  // namespace cotalys
