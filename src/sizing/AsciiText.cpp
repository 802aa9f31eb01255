#include "sizing/AsciiText.h"

#include <algorithm>

namespace cotalys {
inline namespace sizing_text {
namespace {

bool IsBlank(char C) {
    return static_cast<unsigned char>(C) <= ' ';
}

char UpperChar(char C) {
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

}  // namespace

std::string_view TrimBlanks(std::string_view AText) {
    while (!AText.empty() && IsBlank(AText.front())) {
        AText.remove_prefix(1);
    }
    while (!AText.empty() && IsBlank(AText.back())) {
        AText.remove_suffix(1);
    }
    return AText;
}

std::string UpperAscii(std::string_view AText) {
    std::string result(AText);
    std::transform(result.begin(), result.end(), result.begin(), UpperChar);
    return result;
}

bool SameTextAscii(std::string_view A, std::string_view B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               return UpperChar(X) == UpperChar(Y);
           });
}

}  // namespace sizing_text
}  // namespace cotalys
