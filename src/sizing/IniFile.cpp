#include "sizing/IniFile.h"

#include "core/Core.h"

namespace cotalys {
namespace {

// The section named by a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionOf(std::string_view ALine) {
    const std::string_view line = TrimBlanks(ALine);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
        return std::nullopt;
    }
    return TrimBlanks(line.substr(1, line.size() - 2));
}

bool IsComment(std::string_view ALine) {
    const std::string_view line = TrimBlanks(ALine);
    return !line.empty() && (line.front() == ';' || line.front() == '#');
}

// The key of a "key=value" line, or nothing for comments and lines without "=".
std::optional<std::string_view> KeyOf(std::string_view ALine) {
    const std::size_t equal = ALine.find('=');
    if (equal == std::string_view::npos || IsComment(ALine)) {
        return std::nullopt;
    }
    return TrimBlanks(ALine.substr(0, equal));
}

std::string KeyLine(std::string_view AKey, std::string_view AValue) {
    std::string line(AKey);
    line += '=';
    line += AValue;
    return line;
}

}  // namespace

TIniFile::TIniFile(std::string_view AText) {
    while (!AText.empty()) {
        const std::size_t end = AText.find('\n');
        std::string_view line = AText.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        FLines.emplace_back(line);
        AText.remove_prefix(end == std::string_view::npos ? AText.size() : end + 1);
    }
}

std::optional<std::size_t> TIniFile::FindKey(std::string_view ASection,
                                             std::string_view AKey) const {
    bool inSection = false;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        if (const auto section = SectionOf(FLines[i])) {
            inSection = SameTextAscii(*section, ASection);
        } else if (const auto key = KeyOf(FLines[i]);
                   inSection && key && SameTextAscii(*key, AKey)) {
            return i;
        }
    }
    return std::nullopt;
}

std::string TIniFile::ReadString(std::string_view ASection, std::string_view AKey) const {
    const auto index = FindKey(ASection, AKey);
    if (!index) {
        return {};
    }
    const std::string_view line = FLines[*index];
    return std::string(TrimBlanks(line.substr(line.find('=') + 1)));
}

void TIniFile::WriteString(std::string_view ASection, std::string_view AKey,
                           std::string_view AValue) {
    if (const auto index = FindKey(ASection, AKey)) {
        FLines[*index] = KeyLine(AKey, AValue);
        return;
    }
    // The new key goes after the section's last non-blank line, keeping the blank lines that
    // separate it from the next section.
    std::optional<std::size_t> insertAt;
    bool inSection = false;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        if (const auto section = SectionOf(FLines[i])) {
            inSection = SameTextAscii(*section, ASection);
            if (inSection && !insertAt) {
                insertAt = i + 1;
            }
        } else if (inSection && !TrimBlanks(FLines[i]).empty()) {
            insertAt = i + 1;
        }
        if (insertAt && !inSection) {
            break;
        }
    }
    if (insertAt) {
        FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(*insertAt),
                      KeyLine(AKey, AValue));
        return;
    }
    if (!FLines.empty() && !TrimBlanks(FLines.back()).empty()) {
        FLines.emplace_back();
    }
    FLines.push_back("[" + std::string(ASection) + "]");
    FLines.push_back(KeyLine(AKey, AValue));
}

std::string TIniFile::Text() const {
    std::string text;
    for (const auto& line : FLines) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace cotalys
