#include "providers/AsciiText.h"

namespace cotalys {

std::string LowerAscii(std::string_view AText) {
    std::string result(AText);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string TrimBlanks(std::string_view AText) {
    size_t first = 0;
    size_t last = AText.size();
    while (first < last && static_cast<unsigned char>(AText[first]) <= 0x20)
        ++first;
    while (last > first && static_cast<unsigned char>(AText[last - 1]) <= 0x20)
        --last;
    return std::string(AText.substr(first, last - first));
}

}  // namespace cotalys
