#include "core/AsciiText.h"

#include <algorithm>

namespace cotalys {
namespace {

bool IsBlankByte(char C) {
    return static_cast<unsigned char>(C) <= ' ';
}
char LowerChar(char C) {
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}
char UpperChar(char C) {
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

}  // namespace

std::string_view TrimBlanks(std::string_view AText) {
    while (!AText.empty() && IsBlankByte(AText.front())) {
        AText.remove_prefix(1);
    }
    while (!AText.empty() && IsBlankByte(AText.back())) {
        AText.remove_suffix(1);
    }
    return AText;
}

std::string LowerAscii(std::string_view AText) {
    std::string result(AText);
    std::transform(result.begin(), result.end(), result.begin(), LowerChar);
    return result;
}

std::string UpperAscii(std::string_view AText) {
    std::string result(AText);
    std::transform(result.begin(), result.end(), result.begin(), UpperChar);
    return result;
}

bool SameTextAscii(std::string_view A, std::string_view B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               return LowerChar(X) == LowerChar(Y);
           });
}

}  // namespace cotalys
