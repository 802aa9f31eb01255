#include "parsing/TextHelpers.h"

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
    if (ACodePoint < 0x80) {
        AText += static_cast<char>(ACodePoint);
    } else if (ACodePoint < 0x800) {
        AText += static_cast<char>(0xC0 | (ACodePoint >> 6));
        AText += static_cast<char>(0x80 | (ACodePoint & 0x3F));
    } else if (ACodePoint < 0x10000) {
        AText += static_cast<char>(0xE0 | (ACodePoint >> 12));
        AText += static_cast<char>(0x80 | ((ACodePoint >> 6) & 0x3F));
        AText += static_cast<char>(0x80 | (ACodePoint & 0x3F));
    } else {
        AText += static_cast<char>(0xF0 | (ACodePoint >> 18));
        AText += static_cast<char>(0x80 | ((ACodePoint >> 12) & 0x3F));
        AText += static_cast<char>(0x80 | ((ACodePoint >> 6) & 0x3F));
        AText += static_cast<char>(0x80 | (ACodePoint & 0x3F));
    }
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

}  // namespace cotalys
