#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cotalys {

// Helpers shared by the parsers of this folder.

// AText without the characters up to U+0020 (spaces, control characters) at both ends; a no-break
// space is kept.
std::string_view TrimControl(std::string_view AText);

// True when AText consists only of characters up to U+0020.
inline bool IsBlank(std::string_view AText) {
    return TrimControl(AText).empty();
}

// The first ACount characters (code points) of a UTF-8 text, never cutting a character in two.
std::string FirstChars(std::string_view AText, std::size_t ACount);

// Appends the UTF-8 form of a code point (at most U+10FFFF, no surrogate).
void AppendUtf8(std::string& AText, char32_t ACodePoint);

// Every occurrence of AFrom replaced by ATo, left to right (ASCII case ignored when asked);
// replaced text is not scanned again.
std::string ReplaceText(std::string_view AText, std::string_view AFrom, std::string_view ATo,
                        bool AIgnoreCase);

// ASCII case-insensitive equality.
bool SameTextAscii(std::string_view A, std::string_view B);

}  // namespace cotalys
