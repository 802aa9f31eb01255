#include "parsing/TextHelpers.h"

namespace cotalys {
std::string FirstChars(std::string_view AText, std::size_t ACount) {
    std::size_t pos = 0;
    for (std::size_t chars = 0; pos < AText.size() && chars < ACount; ++chars) {
        ++pos;
        while (pos < AText.size() && (static_cast<unsigned char>(AText[pos]) & 0xC0) == 0x80) {
            ++pos;
        }
    }
    return std::string(AText.substr(0, pos));
}

// Every occurrence of AFrom replaced by ATo, left to right; replaced text is not scanned again.
std::string ReplaceText(std::string_view AText, std::string_view AFrom, std::string_view ATo,
                        bool AIgnoreCase) {
    std::string result;
    result.reserve(AText.size());
    std::size_t pos = 0;
    while (pos < AText.size()) {
        const std::string_view candidate = AText.substr(pos, AFrom.size());
        if (candidate.size() == AFrom.size() &&
            (AIgnoreCase ? SameTextAscii(candidate, AFrom) : candidate == AFrom)) {
            result.append(ATo);
            pos += AFrom.size();
        } else {
            result += AText[pos++];
        }
    }
    return result;
}

}  // namespace cotalys
