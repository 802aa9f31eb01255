#pragma once

#include <string>
#include <vector>

namespace cotalys::test {

// The lines of a CR LF report; a text ending with a break gives a last empty line.
inline std::vector<std::string> SplitLines(const std::string& AText) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t pos = AText.find("\r\n"); pos != std::string::npos;
         pos = AText.find("\r\n", start)) {
        lines.push_back(AText.substr(start, pos - start));
        start = pos + 2;
    }
    lines.push_back(AText.substr(start));
    return lines;
}

}  // namespace cotalys::test
