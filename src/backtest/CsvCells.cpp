#include "backtest/CsvCells.h"

#include <cmath>

#include "core/Core.h"

namespace cotalys {

std::string CsvNumber(double AValue) {
    if (!std::isfinite(AValue)) {
        return "";
    }
    return FormatFloat("0.00", AValue, FrenchFormatSettings());
}

std::string CsvDate(TDateTime ADate) {
    if (!(ADate > 0)) {
        return "";
    }
    return FormatDateTime("dd/mm/yyyy", ADate, DefaultFormatSettings());
}

std::string CsvFlag(bool AValue) {
    return AValue ? "oui" : "non";
}

std::string CsvText(std::string_view AText) {
    if (AText.find_first_of(";\"\r\n") == std::string_view::npos) {
        return std::string(AText);
    }
    std::string quoted = "\"";
    for (const char c : AText) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    quoted += '"';
    return quoted;
}

std::string CsvOutsideText(std::string_view AText) {
    if (!AText.empty() && std::string_view("=+-@").find(AText.front()) != std::string_view::npos) {
        return CsvText("'" + std::string(AText));
    }
    return CsvText(AText);
}

std::string CsvLine(const std::vector<std::string>& ACells) {
    std::string line;
    for (std::size_t i = 0; i < ACells.size(); ++i) {
        if (i > 0) {
            line += ';';
        }
        line += ACells[i];
    }
    return line;
}

}  // namespace cotalys
