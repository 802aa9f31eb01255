#include "signals/ReportText.h"

namespace cotalys {

std::string JoinLines(const std::vector<std::string>& ALines) {
    std::string text;
    for (std::size_t i = 0; i < ALines.size(); ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += ALines[i];
    }
    return text;
}

}  // namespace cotalys
