#pragma once

#include <string>
#include <string_view>

namespace cotalys {

bool IsValidUtf8(std::string_view ABytes);
// Appends the UTF-8 form of a code point (at most U+10FFFF, no surrogate).
void AppendUtf8(std::string& AText, char32_t ACodePoint);
// Windows-1252 (the 8-bit code page) to UTF-8; the five unassigned bytes map to U+FFFD.
std::string Windows1252ToUtf8(std::string_view ABytes);
// UTF-16 to UTF-8; a lone surrogate becomes a space, a trailing odd byte is dropped.
std::string Utf16ToUtf8(std::string_view ABytes, bool ABigEndian);

// Decodes file bytes: a byte-order mark selects UTF-8, UTF-16 LE or UTF-16 BE and is skipped;
// without one, bytes with a NUL on the same side of nearly every pair are UTF-16 of that
// order, and other bytes are read as UTF-8 and, when not valid UTF-8, as Windows-1252.
std::string DecodeFileBytes(std::string_view ABytes);

// Decodes bytes in the named character set. UTF-8 (no name, or "utf-8") is strict: invalid
// bytes give an empty text. A name iconv does not know is read as UTF-8 the same way.
std::string DecodeCharset(std::string_view ABytes, std::string_view ACharset);

}  // namespace cotalys
