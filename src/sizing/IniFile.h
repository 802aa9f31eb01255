#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cotalys {

// An ini text kept line by line: writing a key changes only that key's line, so the sections,
// keys, comments and blank lines that other tools or the user put in the file survive a save.
// Sections and keys are compared without regard to ASCII case; lines starting with ";" or "#"
// are comments; the first occurrence of a key wins.
class TIniFile {
public:
    // Parses decoded text (no byte-order mark) with LF or CR LF breaks.
    explicit TIniFile(std::string_view AText = {});

    // The trimmed text after the first "=" of the key; empty when the key is absent.
    std::string ReadString(std::string_view ASection, std::string_view AKey) const;
    // Replaces the key's line, or adds the key at the end of its section, or adds the section
    // at the end of the text.
    void WriteString(std::string_view ASection, std::string_view AKey, std::string_view AValue);
    // The whole text, UTF-8 without byte-order mark, each line ended by LF.
    std::string Text() const;

private:
    std::optional<std::size_t> FindKey(std::string_view ASection, std::string_view AKey) const;

    std::vector<std::string> FLines;
};

}  // namespace cotalys
