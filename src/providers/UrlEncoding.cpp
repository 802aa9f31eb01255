#include "providers/UrlEncoding.h"

namespace cotalys {

namespace {

bool IsKeptAsIs(unsigned char AChar) {
    if ((AChar >= 'A' && AChar <= 'Z') || (AChar >= 'a' && AChar <= 'z') ||
        (AChar >= '0' && AChar <= '9'))
        return true;
    const std::string_view kept = "!$'()*-.@_";
    return kept.find(static_cast<char>(AChar)) != std::string_view::npos;
}

}  // namespace

std::string UrlEncode(std::string_view AText) {
    static const char* const Hex = "0123456789ABCDEF";
    std::string result;
    for (char c : AText) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsKeptAsIs(byte)) {
            result += c;
        } else if (byte == ' ') {
            result += '+';
        } else {
            result += '%';
            result += Hex[byte >> 4];
            result += Hex[byte & 0x0F];
        }
    }
    return result;
}

}  // namespace cotalys
