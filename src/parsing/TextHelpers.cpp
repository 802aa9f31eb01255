#include "parsing/TextHelpers.h"

#include <utf8proc.h>

namespace cotalys {
namespace {

bool IsControlOrSpace(char AChar) {
    return static_cast<unsigned char>(AChar) <= 0x20;
}

char LowerAscii(char AChar) {
    return AChar >= 'A' && AChar <= 'Z' ? AChar - 'A' + 'a' : AChar;
}

}  // namespace

std::string_view TrimControl(std::string_view AText) {
    std::size_t begin = 0;
    std::size_t end = AText.size();
    while (begin < end && IsControlOrSpace(AText[begin])) {
        ++begin;
    }
    while (end > begin && IsControlOrSpace(AText[end - 1])) {
        --end;
    }
    return AText.substr(begin, end - begin);
}

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

void AppendUtf8(std::string& AText, char32_t ACodePoint) {
    utf8proc_uint8_t buffer[4];
    const auto length = utf8proc_encode_char(static_cast<utf8proc_int32_t>(ACodePoint), buffer);
    AText.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

bool SameTextAscii(std::string_view A, std::string_view B) {
    if (A.size() != B.size()) {
        return false;
    }
    for (std::size_t i = 0; i < A.size(); ++i) {
        if (LowerAscii(A[i]) != LowerAscii(B[i])) {
            return false;
        }
    }
    return true;
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
