#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "core/DateTime.h"

namespace cotalys {

// Number and date conventions handed to the formatting routines.
struct TFormatSettings {
    std::string DecimalSeparator;
    std::string ThousandSeparator;
    std::string DateSeparator;
    std::string TimeSeparator;
    std::array<std::string, 12> ShortMonthNames;  // January first
    std::array<std::string, 7> ShortDayNames;     // Sunday first
};

// The fr-FR settings: comma decimals, digits grouped with a plain space, "/" and ":", and the
// French abbreviated month and day names.
const TFormatSettings& FrenchFormatSettings();
// The process default settings: the C locale's decimal point, "/" and ":", English names, read
// once.
const TFormatSettings& DefaultFormatSettings();

// Formats AValue with a number pattern such as "0.00", "#,##0" or "+0.0;-0.0;0.0"
// (sections for positive, negative and zero values; rounding halves away from zero).
std::string FormatFloat(std::string_view APattern, double AValue, const TFormatSettings& ASettings);

// Formats a date-time with a pattern such as "dd/mm/yyyy", "ddd dd/mm/yyyy" or "yyyymmdd_hhnn".
std::string FormatDateTime(std::string_view APattern, TDateTime ADate,
                           const TFormatSettings& ASettings);

// A date in the French short form "dd/mm/yyyy".
std::string FrenchDate(TDateTime ADate);

// A double in general form: up to 15 significant digits, no trailing zeros, the given decimal
// separator, scientific notation below 1e-5 in magnitude or beyond 15 integer digits.
std::string FloatToStrGeneral(double AValue, std::string_view ADecimalSeparator);
// The general form with a point, as written to plain decimal text (0.5, 1.25, 100000).
std::string FloatToStrInvariant(double AValue);
// Reads decimal text with "." as separator and no grouping, surrounding blanks allowed.
bool TryStrToFloatInvariant(std::string_view AText, double& AValue);

// One argument of the message formatter.
class TFormatArg {
public:
    TFormatArg(const std::string& AValue) : FValue(AValue) {}
    TFormatArg(std::string_view AValue) : FValue(std::string(AValue)) {}
    TFormatArg(const char* AValue) : FValue(std::string(AValue)) {}
    template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
    TFormatArg(T AValue) : FValue(static_cast<std::int64_t>(AValue)) {}
    TFormatArg(double AValue) : FValue(AValue) {}

    const std::variant<std::string, std::int64_t, double>& Value() const { return FValue; }

private:
    std::variant<std::string, std::int64_t, double> FValue;
};

// Fills "%s", "%d", "%g" (with optional "-" and width) and "%%" from AArgs using the process
// default settings. A directive without a matching argument is a programming error
// (std::invalid_argument).
std::string FormatArgs(std::string_view AFormat, std::initializer_list<TFormatArg> AArgs);

template <class... Args>
std::string Format(std::string_view AFormat, const Args&... AArgs) {
    return FormatArgs(AFormat, {TFormatArg(AArgs)...});
}

}  // namespace cotalys
