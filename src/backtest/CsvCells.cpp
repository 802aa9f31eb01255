#include "backtest/CsvCells.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/Core.h"

namespace cotalys {

std::string CsvNumber(double AValue) {
    if (!std::isfinite(AValue)) {
        return "";
    }
    // A backtest writes about a hundred thousand of these: FormatFloat's "0.00" is worked out
    // here in whole numbers, below 1e15 where the cents fit in 64 bits. As FormatFloat does, the
    // magnitude is read to 15 significant digits, then rounded half away from zero to the cent.
    const double magnitude = std::fabs(AValue);
    if (magnitude >= 1e15) {
        return FormatFloat("0.00", AValue, FrenchFormatSettings());
    }
    // "d.dddddddddddddde+XX": the digits and the power of ten of the first.
    char text[32] = {};
    std::to_chars(text, text + sizeof text - 1, magnitude, std::chars_format::scientific, 14);
    std::uint64_t digits = static_cast<std::uint64_t>(text[0] - '0');
    for (int i = 2; i <= 15; ++i) {
        digits = digits * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    // The number of cents is digits x 10^(exponent - 12).
    const int shift = std::atoi(text + 17) - 12;
    std::uint64_t cents = 0;
    if (shift >= 0) {
        for (int i = 0; i < shift; ++i) {
            digits *= 10;
        }
        cents = digits;
    } else if (shift > -16) {
        std::uint64_t divisor = 1;
        for (int i = 0; i < -shift; ++i) {
            divisor *= 10;
        }
        cents = (digits + divisor / 2) / divisor;
    }
    if (cents == 0) {
        return "0,00";
    }
    const unsigned fraction = static_cast<unsigned>(cents % 100);
    return (AValue < 0 ? "-" : "") + std::to_string(cents / 100) + ',' +
           static_cast<char>('0' + fraction / 10) + static_cast<char>('0' + fraction % 10);
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

std::vector<std::vector<std::string>> CsvRecords(std::string_view AText,
                                                 std::vector<int>* AFirstLines) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> cells(1);
    bool quoted = false;
    int line = 1;
    int firstLine = 1;
    for (std::size_t i = 0; i < AText.size(); ++i) {
        const char c = AText[i];
        line += c == '\n' ? 1 : 0;
        if (quoted) {
            if (c == '"' && i + 1 < AText.size() && AText[i + 1] == '"') {
                cells.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cells.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ';') {
            cells.emplace_back();
        } else if (c == '\n' || (c == '\r' && i + 1 < AText.size() && AText[i + 1] == '\n')) {
            if (c == '\r') {
                ++i;
                ++line;
            }
            records.push_back(std::move(cells));
            cells.assign(1, std::string());
            if (AFirstLines != nullptr) {
                AFirstLines->push_back(firstLine);
            }
            firstLine = line;
        } else {
            cells.back() += c;
        }
    }
    if (cells.size() > 1 || !cells.front().empty()) {
        records.push_back(std::move(cells));
        if (AFirstLines != nullptr) {
            AFirstLines->push_back(firstLine);
        }
    }
    return records;
}

std::string CsvOutsideTextValue(std::string_view ACell) {
    if (ACell.size() >= 2 && ACell[0] == '\'' &&
        std::string_view("=+-@").find(ACell[1]) != std::string_view::npos) {
        ACell.remove_prefix(1);
    }
    return std::string(ACell);
}

bool TryCsvNumber(std::string_view ACell, double& AValue) {
    std::string text(ACell);
    std::replace(text.begin(), text.end(), ',', '.');
    return text.find('.') == text.rfind('.') && TryStrToFloatInvariant(text, AValue) &&
           std::isfinite(AValue);
}

bool TryCsvDate(std::string_view ACell, TDateTime& ADate) {
    const auto digits = [ACell](std::size_t AAt, std::size_t ACount) {
        int value = 0;
        for (std::size_t i = AAt; i < AAt + ACount; ++i) {
            if (ACell[i] < '0' || ACell[i] > '9') {
                return -1;
            }
            value = value * 10 + (ACell[i] - '0');
        }
        return value;
    };
    return ACell.size() == 10 && TryEncodeDate(digits(6, 4), digits(3, 2), digits(0, 2), ADate);
}

}  // namespace cotalys
