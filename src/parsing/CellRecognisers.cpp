#include "parsing/CellRecognisers.h"

#include <utf8proc.h>

#include <charconv>
#include <cmath>
#include <limits>

#include "parsing/TextHelpers.h"

namespace cotalys {
namespace {

// The sixteen accented lower-case letters folded to one ASCII letter ("œ" to a single "o").
char FoldedAccent(utf8proc_int32_t ACodePoint) {
    switch (ACodePoint) {
        case 0xE0:  // à
        case 0xE2:  // â
        case 0xE4:  // ä
            return 'a';
        case 0xE7:  // ç
            return 'c';
        case 0xE8:  // è
        case 0xE9:  // é
        case 0xEA:  // ê
        case 0xEB:  // ë
            return 'e';
        case 0xEE:  // î
        case 0xEF:  // ï
            return 'i';
        case 0xF4:   // ô
        case 0xF6:   // ö
        case 0x153:  // œ
            return 'o';
        case 0xF9:  // ù
        case 0xFB:  // û
        case 0xFC:  // ü
            return 'u';
        default:
            return 0;
    }
}

bool IsDigit(char AChar) {
    return AChar >= '0' && AChar <= '9';
}

bool EqualsAnyIgnoringCase(std::string_view AText, std::initializer_list<std::string_view> AWords) {
    for (const auto word : AWords) {
        if (SameTextAscii(AText, word)) {
            return true;
        }
    }
    return false;
}

// Deletes every occurrence of AChar.
std::string Without(std::string_view AText, char AChar) {
    std::string result;
    result.reserve(AText.size());
    for (const char c : AText) {
        if (c != AChar) {
            result += c;
        }
    }
    return result;
}

// Picks the decimal separator among the commas and points of a reduced number and returns the
// text with "." as the only separator left.
std::string WithDecimalPoint(const std::string& ANumber) {
    const auto lastComma = ANumber.rfind(',');
    const auto lastPoint = ANumber.rfind('.');
    const bool hasComma = lastComma != std::string::npos;
    const bool hasPoint = lastPoint != std::string::npos;
    if (hasComma && hasPoint) {
        if (lastPoint < lastComma) {  // 1.234,56
            std::string result = Without(ANumber, '.');
            result[result.rfind(',')] = '.';
            return result;
        }
        return Without(ANumber, ',');  // 1,234.56
    }
    if (hasComma) {
        if (ANumber.find(',') == lastComma) {  // a single comma is the decimal separator
            std::string result = ANumber;
            result[lastComma] = '.';
            return result;
        }
        return Without(ANumber, ',');
    }
    if (hasPoint && ANumber.find('.') != lastPoint) {
        return Without(ANumber, '.');
    }
    return ANumber;
}

// An optional sign, then digits with at most one point, the whole text consumed.
bool ReadPlainDecimal(std::string_view AText, double& AValue) {
    std::size_t pos = 0;
    bool negative = false;
    if (!AText.empty() && (AText[0] == '+' || AText[0] == '-')) {
        negative = AText[0] == '-';
        pos = 1;
    }
    const std::string_view body = AText.substr(pos);
    bool digit = false;
    bool point = false;
    for (const char c : body) {
        if (IsDigit(c)) {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (!digit) {
        return false;
    }
    double value = 0;
    const auto [end, error] =
        std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != body.data() + body.size() || !std::isfinite(value)) {
        return false;
    }
    AValue = negative ? -value : value;
    return true;
}

// An optional sign then digits only, as a non-negative 64-bit count.
bool ReadCount(std::string_view AText, std::int64_t& AValue) {
    bool negative = false;
    if (!AText.empty() && (AText[0] == '+' || AText[0] == '-')) {
        negative = AText[0] == '-';
        AText.remove_prefix(1);
    }
    // from_chars would take a second sign, so "+-3" would read as -3.
    if (AText.empty() || AText[0] < '0' || AText[0] > '9') {
        return false;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(AText.data(), AText.data() + AText.size(), value);
    if (error != std::errc() || end != AText.data() + AText.size()) {
        return false;
    }
    if (negative && value != 0) {
        return false;
    }
    AValue = value;
    return true;
}

bool EndsWith(std::string_view AText, std::string_view ASuffix) {
    return AText.size() >= ASuffix.size() && AText.substr(AText.size() - ASuffix.size()) == ASuffix;
}

bool StartsWith(std::string_view AText, std::string_view APrefix) {
    return AText.substr(0, APrefix.size()) == APrefix;
}

// Removes the ordinary, no-break and narrow no-break spaces.
std::string WithoutSpaces(std::string_view AText) {
    std::string result;
    result.reserve(AText.size());
    for (std::size_t i = 0; i < AText.size(); ++i) {
        const std::string_view rest = AText.substr(i);
        if (rest[0] == ' ') {
            continue;
        }
        if (StartsWith(rest, "\xC2\xA0")) {
            ++i;
            continue;
        }
        if (StartsWith(rest, "\xE2\x80\xAF")) {
            i += 2;
            continue;
        }
        result += rest[0];
    }
    return result;
}

}  // namespace

std::string NormalizeText(std::string_view AText) {
    std::string result;
    result.reserve(AText.size());
    std::size_t pos = 0;
    while (pos < AText.size()) {
        const auto byte = static_cast<unsigned char>(AText[pos]);
        if (byte < 0x80) {
            result += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte);
            ++pos;
            continue;
        }
        utf8proc_int32_t codePoint = 0;
        const auto length =
            utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(AText.data() + pos),
                             static_cast<utf8proc_ssize_t>(AText.size() - pos), &codePoint);
        if (length <= 0) {
            // Not UTF-8: the byte is kept as it stands.
            result += AText[pos];
            ++pos;
            continue;
        }
        const utf8proc_int32_t lower = utf8proc_tolower(codePoint);
        if (const char folded = FoldedAccent(lower)) {
            result += folded;
        } else {
            AppendUtf8(result, static_cast<char32_t>(lower));
        }
        pos += static_cast<std::size_t>(length);
    }
    return result;
}

std::string KeepNumericChars(std::string_view AText) {
    static constexpr std::string_view MinusSign = "\xE2\x88\x92";  // U+2212
    std::string result;
    for (std::size_t i = 0; i < AText.size(); ++i) {
        const char c = AText[i];
        if (IsDigit(c) || c == '+' || c == ',' || c == '-' || c == '.') {
            result += c;
        } else if (AText.substr(i, MinusSign.size()) == MinusSign) {
            result += '-';
            i += MinusSign.size() - 1;
        }
    }
    return result;
}

bool ParseDecimal(std::string_view AText, double& AValue) {
    AValue = NaN;
    const std::string_view text = TrimBlanks(AText);
    if (text.empty() || text == "-" || EqualsAnyIgnoringCase(text, {"n/a", "null", "nd", "n.d."})) {
        return false;
    }
    const std::string number = KeepNumericChars(text);
    if (number.empty()) {
        return false;
    }
    return ReadPlainDecimal(WithDecimalPoint(number), AValue);
}

bool ParseVolume(std::string_view AText, std::int64_t& AVolume) {
    AVolume = 0;
    const std::string text = WithoutSpaces(NormalizeText(TrimBlanks(AText)));
    if (text.empty() || text == "-" || text == "n/a") {
        return false;
    }
    double multiplier = 1;
    if (EndsWith(text, "md") || EndsWith(text, "b")) {
        multiplier = 1e9;
    } else if (EndsWith(text, "m")) {
        multiplier = 1e6;
    } else if (EndsWith(text, "k")) {
        multiplier = 1e3;
    }
    if (multiplier > 1) {
        double value = 0;
        if (!ParseDecimal(KeepNumericChars(text), value)) {
            return false;
        }
        // Halves go to the even neighbour (the default rounding mode); products that do not fit
        // a 64-bit count are refused rather than wrapped.
        const double rounded = std::nearbyint(value * multiplier);
        if (!(rounded >= 0 && rounded < 9.2e18)) {
            return false;
        }
        AVolume = static_cast<std::int64_t>(rounded);
        return true;
    }
    std::string digits = KeepNumericChars(text);
    digits = Without(Without(digits, ','), '.');
    return ReadCount(digits, AVolume);
}

int MonthFromName(std::string_view AText) {
    const std::string t = Without(NormalizeText(AText), '.');
    struct TMonthRule {
        int Month;
        std::string_view Prefix1;
        std::string_view Prefix2;
        std::string_view Whole;
    };
    // "jun" and "jul" only as whole words, so "juni" or "julien" are no months.
    static constexpr TMonthRule Rules[] = {
        {1, "jan", "", ""},         {2, "fev", "feb", ""}, {3, "mar", "", ""},
        {4, "avr", "apr", ""},      {5, "mai", "may", ""}, {6, "juin", "june", "jun"},
        {7, "juil", "july", "jul"}, {8, "aou", "aug", ""}, {9, "sep", "", ""},
        {10, "oct", "", ""},        {11, "nov", "", ""},   {12, "dec", "", ""},
    };
    for (const auto& rule : Rules) {
        if (StartsWith(t, rule.Prefix1) || (!rule.Prefix2.empty() && StartsWith(t, rule.Prefix2)) ||
            (!rule.Whole.empty() && t == rule.Whole)) {
            return rule.Month;
        }
    }
    return 0;
}

}  // namespace cotalys
