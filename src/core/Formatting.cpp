#include "core/Formatting.h"

#include <cctype>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace cotalys {
namespace {

// The decimal digits of |AValue| to 15 significant digits: AValue = 0.D1D2... x 10^Exp10.
struct TDecimal {
    std::vector<int> Digits;
    int Exp10 = 0;
};

TDecimal ToDecimal(double AValue) {
    TDecimal result;
    const double magnitude = std::fabs(AValue);
    if (magnitude == 0) {
        return result;
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);
    // "d.ddddddddddddddde+XX"; the point may be any separator the C locale uses.
    const char* p = buffer;
    for (; *p != '\0' && *p != 'e'; ++p) {
        if (std::isdigit(static_cast<unsigned char>(*p))) {
            result.Digits.push_back(*p - '0');
        }
    }
    result.Exp10 = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
    while (!result.Digits.empty() && result.Digits.back() == 0) {
        result.Digits.pop_back();
    }
    return result;
}

// Rounds to ADecimals places, halves away from zero (the digits are of the magnitude).
void RoundDecimal(TDecimal& ADecimal, int ADecimals) {
    const int keep = ADecimal.Exp10 + ADecimals;
    auto& digits = ADecimal.Digits;
    if (keep < 0) {
        digits.clear();
        return;
    }
    if (keep >= static_cast<int>(digits.size())) {
        return;
    }
    const bool roundUp = digits[static_cast<std::size_t>(keep)] >= 5;
    digits.resize(static_cast<std::size_t>(keep));
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == 9) {
            digits[static_cast<std::size_t>(i)] = 0;
            --i;
        }
        if (i >= 0) {
            ++digits[static_cast<std::size_t>(i)];
        } else {
            digits.insert(digits.begin(), 1);
            ++ADecimal.Exp10;
        }
    }
    while (!digits.empty() && digits.back() == 0) {
        digits.pop_back();
    }
}

int DigitAt(const TDecimal& ADecimal, int AIndex) {
    return AIndex >= 0 && AIndex < static_cast<int>(ADecimal.Digits.size())
               ? ADecimal.Digits[static_cast<std::size_t>(AIndex)]
               : 0;
}

std::string IntegerDigits(const TDecimal& ADecimal) {
    std::string text;
    for (int i = 0; i < ADecimal.Exp10; ++i) {
        text += static_cast<char>('0' + DigitAt(ADecimal, i));
    }
    const auto first = text.find_first_not_of('0');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string FractionDigits(const TDecimal& ADecimal, int ADecimals) {
    std::string text;
    for (int j = 1; j <= ADecimals; ++j) {
        text += static_cast<char>('0' + DigitAt(ADecimal, ADecimal.Exp10 - 1 + j));
    }
    return text;
}

std::string Group(const std::string& ADigits, const std::string& ASeparator) {
    std::string text;
    const auto n = ADigits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            text += ASeparator;
        }
        text += ADigits[i];
    }
    return text;
}

// One section of a number pattern: literal text around the digit placeholders.
struct TNumberSection {
    std::string Prefix;
    std::string Suffix;
    int IntegerZeros = 0;
    int Decimals = 0;
    int DecimalZeros = 0;
    bool Grouping = false;
};

bool IsPlaceholder(char C) {
    return C == '0' || C == '#' || C == '.' || C == ',';
}

TNumberSection ParseSection(std::string_view AText) {
    TNumberSection section;
    const auto first = AText.find_first_of("0#.,");
    if (first == std::string_view::npos) {
        section.Prefix = std::string(AText);
        return section;
    }
    const auto last = AText.find_last_of("0#.,");
    section.Prefix = std::string(AText.substr(0, first));
    section.Suffix = std::string(AText.substr(last + 1));
    bool afterPoint = false;
    for (std::size_t i = first; i <= last; ++i) {
        const char c = AText[i];
        if (!IsPlaceholder(c)) {
            continue;
        }
        if (c == '.') {
            afterPoint = true;
        } else if (c == ',') {
            section.Grouping = section.Grouping || !afterPoint;
        } else if (afterPoint) {
            ++section.Decimals;
            section.DecimalZeros += c == '0' ? 1 : 0;
        } else {
            section.IntegerZeros += c == '0' ? 1 : 0;
        }
    }
    return section;
}

std::string ApplySection(const TNumberSection& ASection, TDecimal ADecimal,
                         const TFormatSettings& ASettings) {
    RoundDecimal(ADecimal, ASection.Decimals);
    std::string integer = IntegerDigits(ADecimal);
    if (static_cast<int>(integer.size()) < ASection.IntegerZeros) {
        integer.insert(0, static_cast<std::size_t>(ASection.IntegerZeros) - integer.size(), '0');
    }
    if (ASection.Grouping) {
        integer = Group(integer, ASettings.ThousandSeparator);
    }
    std::string fraction = FractionDigits(ADecimal, ASection.Decimals);
    while (static_cast<int>(fraction.size()) > ASection.DecimalZeros && !fraction.empty() &&
           fraction.back() == '0') {
        fraction.pop_back();
    }
    std::string text = ASection.Prefix + integer;
    if (!fraction.empty()) {
        text += ASettings.DecimalSeparator + fraction;
    }
    return text + ASection.Suffix;
}

const std::array<std::string, 12> FrenchMonths = {"janv.", "févr.", "mars",  "avr.",
                                                  "mai",   "juin",  "juil.", "août",
                                                  "sept.", "oct.",  "nov.",  "déc."};
const std::array<std::string, 7> FrenchDays = {"dim.", "lun.", "mar.", "mer.",
                                               "jeu.", "ven.", "sam."};
const std::array<std::string, 12> EnglishMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const std::array<std::string, 7> EnglishDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

std::string TwoDigits(int AValue) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", AValue % 100);
    return buffer;
}

std::string Pad(std::string AText, int AWidth, bool ALeft) {
    if (static_cast<int>(AText.size()) < AWidth) {
        const auto fill = std::string(static_cast<std::size_t>(AWidth) - AText.size(), ' ');
        return ALeft ? AText + fill : fill + AText;
    }
    return AText;
}

}  // namespace

const TFormatSettings& FrenchFormatSettings() {
    static const TFormatSettings settings{",", " ", "/", ":", FrenchMonths, FrenchDays};
    return settings;
}

const TFormatSettings& DefaultFormatSettings() {
    static const TFormatSettings settings = [] {
        const std::lconv* conv = std::localeconv();
        const std::string point =
            conv != nullptr && conv->decimal_point != nullptr && *conv->decimal_point != '\0'
                ? conv->decimal_point
                : ".";
        return TFormatSettings{point, ",", "/", ":", EnglishMonths, EnglishDays};
    }();
    return settings;
}

std::string FormatFloat(std::string_view APattern, double AValue,
                        const TFormatSettings& ASettings) {
    if (std::isnan(AValue)) {
        return "NAN";
    }
    if (std::isinf(AValue)) {
        return AValue > 0 ? "INF" : "-INF";
    }
    std::vector<std::string_view> texts;
    std::size_t start = 0;
    while (texts.size() < 3) {
        const auto end = APattern.find(';', start);
        texts.push_back(APattern.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    const TNumberSection first = ParseSection(texts[0]);
    const TDecimal decimal = ToDecimal(AValue);
    TDecimal rounded = decimal;
    RoundDecimal(rounded, first.Decimals);
    const bool roundsToZero = rounded.Digits.empty();

    if (roundsToZero && texts.size() >= 3) {
        return ApplySection(ParseSection(texts[2]), TDecimal{}, ASettings);
    }
    // The sign before rounding chooses between the first two sections.
    if (AValue < 0 && texts.size() >= 2) {
        return ApplySection(ParseSection(texts[1]), decimal, ASettings);
    }
    if (roundsToZero) {
        return ApplySection(first, TDecimal{}, ASettings);
    }
    std::string text = ApplySection(first, decimal, ASettings);
    if (AValue < 0) {
        text.insert(text.begin(), '-');
    }
    return text;
}

std::string FormatDateTime(std::string_view APattern, TDateTime ADate,
                           const TFormatSettings& ASettings) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    DecodeDate(ADate, year, month, day);
    DecodeTime(ADate, hour, minute, second);
    std::string text;
    bool afterHour = false;
    std::size_t i = 0;
    while (i < APattern.size()) {
        const char c = APattern[i];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::size_t run = 1;
        while (i + run < APattern.size() &&
               std::tolower(static_cast<unsigned char>(APattern[i + run])) == lower) {
            ++run;
        }
        switch (lower) {
            case 'y':
                text += run >= 3 ? std::to_string(year) : TwoDigits(year);
                afterHour = false;
                break;
            case 'm':
                if (afterHour && run <= 2) {
                    text += run == 2 ? TwoDigits(minute) : std::to_string(minute);
                } else if (run >= 3) {
                    text += ASettings.ShortMonthNames[static_cast<std::size_t>(month - 1)];
                } else {
                    text += run == 2 ? TwoDigits(month) : std::to_string(month);
                }
                afterHour = false;
                break;
            case 'd':
                if (run >= 3) {
                    text +=
                        ASettings.ShortDayNames[static_cast<std::size_t>(IsoDayOfWeek(ADate) % 7)];
                } else {
                    text += run == 2 ? TwoDigits(day) : std::to_string(day);
                }
                afterHour = false;
                break;
            case 'h':
                text += run >= 2 ? TwoDigits(hour) : std::to_string(hour);
                afterHour = true;
                break;
            case 'n':
                text += run >= 2 ? TwoDigits(minute) : std::to_string(minute);
                afterHour = false;
                break;
            case 's':
                text += run >= 2 ? TwoDigits(second) : std::to_string(second);
                afterHour = false;
                break;
            case '/':
                for (std::size_t k = 0; k < run; ++k) {
                    text += ASettings.DateSeparator;
                }
                break;
            case ':':
                for (std::size_t k = 0; k < run; ++k) {
                    text += ASettings.TimeSeparator;
                }
                break;
            default:
                text.append(APattern.substr(i, run));
                break;
        }
        i += run;
    }
    return text;
}

std::string FrenchDate(TDateTime ADate) {
    return FormatDateTime("dd/mm/yyyy", ADate, FrenchFormatSettings());
}

std::string FloatToStrGeneral(double AValue, std::string_view ADecimalSeparator) {
    if (std::isnan(AValue)) {
        return "NAN";
    }
    if (std::isinf(AValue)) {
        return AValue > 0 ? "INF" : "-INF";
    }
    const TDecimal decimal = ToDecimal(AValue);
    if (decimal.Digits.empty()) {
        return "0";
    }
    const std::string sign = AValue < 0 ? "-" : "";
    std::string digits;
    for (int d : decimal.Digits) {
        digits += static_cast<char>('0' + d);
    }
    const int exponent = decimal.Exp10 - 1;  // scientific exponent of the first digit
    if (exponent < -5 || exponent >= 15) {
        std::string text = sign + digits.substr(0, 1);
        if (digits.size() > 1) {
            text += std::string(ADecimalSeparator) + digits.substr(1);
        }
        return text + "E" + std::to_string(exponent);
    }
    if (exponent < 0) {
        return sign + "0" + std::string(ADecimalSeparator) +
               std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    const auto integerCount = static_cast<std::size_t>(exponent + 1);
    if (digits.size() <= integerCount) {
        return sign + digits + std::string(integerCount - digits.size(), '0');
    }
    return sign + digits.substr(0, integerCount) + std::string(ADecimalSeparator) +
           digits.substr(integerCount);
}

std::string FloatToStrInvariant(double AValue) {
    return FloatToStrGeneral(AValue, ".");
}

bool TryStrToFloatInvariant(std::string_view AText, double& AValue) {
    const auto isBlank = [](char C) { return C == ' ' || C == '\t'; };
    while (!AText.empty() && isBlank(AText.front())) {
        AText.remove_prefix(1);
    }
    while (!AText.empty() && isBlank(AText.back())) {
        AText.remove_suffix(1);
    }
    if (!AText.empty() && AText.front() == '+') {
        AText.remove_prefix(1);
    }
    // Only plain decimal text: from_chars would also take "inf" and "nan".
    if (AText.empty() || AText.find_first_not_of("0123456789.-eE") != std::string_view::npos ||
        AText.find_first_of("0123456789") == std::string_view::npos) {
        return false;
    }
    double value = 0;
    const auto result = std::from_chars(AText.data(), AText.data() + AText.size(), value);
    if (result.ec != std::errc() || result.ptr != AText.data() + AText.size()) {
        return false;
    }
    AValue = value;
    return true;
}

std::string FormatArgs(std::string_view AFormat, std::initializer_list<TFormatArg> AArgs) {
    std::string text;
    auto arg = AArgs.begin();
    const std::string point = DefaultFormatSettings().DecimalSeparator;
    for (std::size_t i = 0; i < AFormat.size(); ++i) {
        const char c = AFormat[i];
        if (c != '%') {
            text += c;
            continue;
        }
        ++i;
        if (i < AFormat.size() && AFormat[i] == '%') {
            text += '%';
            continue;
        }
        bool left = false;
        if (i < AFormat.size() && AFormat[i] == '-') {
            left = true;
            ++i;
        }
        int width = 0;
        while (i < AFormat.size() && std::isdigit(static_cast<unsigned char>(AFormat[i]))) {
            width = width * 10 + (AFormat[i] - '0');
            ++i;
        }
        if (i >= AFormat.size()) {
            throw std::invalid_argument("format incomplet : " + std::string(AFormat));
        }
        if (arg == AArgs.end()) {
            throw std::invalid_argument("argument manquant pour le format : " +
                                        std::string(AFormat));
        }
        const auto& value = arg->Value();
        ++arg;
        std::string piece;
        switch (AFormat[i]) {
            case 's':
                if (const auto* s = std::get_if<std::string>(&value)) {
                    piece = *s;
                } else if (const auto* n = std::get_if<std::int64_t>(&value)) {
                    piece = std::to_string(*n);
                } else {
                    piece = FloatToStrGeneral(std::get<double>(value), point);
                }
                break;
            case 'd':
                if (const auto* n = std::get_if<std::int64_t>(&value)) {
                    piece = std::to_string(*n);
                } else {
                    throw std::invalid_argument("%d attend un entier : " + std::string(AFormat));
                }
                break;
            case 'g':
                if (const auto* d = std::get_if<double>(&value)) {
                    piece = FloatToStrGeneral(*d, point);
                } else if (const auto* n = std::get_if<std::int64_t>(&value)) {
                    piece = FloatToStrGeneral(static_cast<double>(*n), point);
                } else {
                    throw std::invalid_argument("%g attend un nombre : " + std::string(AFormat));
                }
                break;
            default:
                throw std::invalid_argument("directive inconnue dans le format : " +
                                            std::string(AFormat));
        }
        text += Pad(std::move(piece), width, left);
    }
    return text;
}

}  // namespace cotalys
