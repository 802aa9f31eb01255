#include <array>
#include <charconv>
#include <string>

#include "core/DateTime.h"
#include "core/Exceptions.h"
#include "parsing/CellRecognisers.h"
#include "parsing/Regex.h"
#include "parsing/TextHelpers.h"

namespace cotalys {
namespace {

// One written form of a date: its expression and which group holds each part.
struct TDateForm {
    const TRegex& Expression;
    int YearGroup;
    int MonthGroup;
    int DayGroup;
    bool MonthByName;  // the month group is a name ("janv.", "Aug")
    bool ShortYears;   // years below 100 belong to this century (15/01/24)
};

// Each form is anchored at the start only, so a time of day or a zone after the date is ignored.
const std::array<TDateForm, 4>& DateForms() {
    static const TRegex Iso("^(\\d{4})-(\\d{1,2})-(\\d{1,2})", TRegexOption::roNone, "Date");
    // Always day first, as written in France.
    static const TRegex Numeric("^(\\d{1,2})[/.\\-](\\d{1,2})[/.\\-](\\d{2,4})",
                                TRegexOption::roNone, "Date");
    static const TRegex DayMonthName("^(\\d{1,2})\\s+([^\\s\\d]+)\\s+(\\d{4})",
                                     TRegexOption::roNone, "Date");
    static const TRegex MonthNameDay("^([A-Za-z]+)\\.?\\s+(\\d{1,2}),?\\s+(\\d{4})",
                                     TRegexOption::roNone, "Date");
    static const std::array<TDateForm, 4> Forms = {{
        {Iso, 1, 2, 3, false, false},
        {Numeric, 3, 2, 1, false, true},
        {DayMonthName, 3, 2, 1, true, false},
        {MonthNameDay, 3, 1, 2, true, false},
    }};
    return Forms;
}

// The groups hold at most four digits, so the number always fits.
int Number(std::string_view ADigits) {
    int value = 0;
    std::from_chars(ADigits.data(), ADigits.data() + ADigits.size(), value);
    return value;
}

std::string WithPlainSpaces(std::string_view AText) {
    std::string result(AText);
    for (auto pos = result.find("\xC2\xA0"); pos != std::string::npos;
         pos = result.find("\xC2\xA0", pos)) {
        result.replace(pos, 2, " ");
    }
    return result;
}

bool DayFromGroups(const TDateForm& AForm, std::string_view AText, const TRegexMatch& AMatch,
                   TDateTime& ADate) {
    const std::string_view monthText = AMatch.Group(AText, AForm.MonthGroup);
    const int month = AForm.MonthByName ? MonthFromName(monthText) : Number(monthText);
    int year = Number(AMatch.Group(AText, AForm.YearGroup));
    if (AForm.ShortYears && year < 100) {
        year += 2000;
    }
    return TryEncodeDate(year, month, Number(AMatch.Group(AText, AForm.DayGroup)), ADate);
}

}  // namespace

bool ParseDate(std::string_view AText, TDateTime& ADate) {
    ADate = 0;
    // No-break spaces count as spaces, at the ends as well as between the parts.
    const std::string spaced = WithPlainSpaces(AText);
    const std::string_view text = TrimControl(spaced);
    if (text.empty()) {
        return false;
    }
    try {
        TRegexMatch match;
        for (const auto& form : DateForms()) {
            if (form.Expression.Find(text, 0, match)) {
                // The first form that matches decides, even when its date does not exist.
                TDateTime day = 0;
                if (!DayFromGroups(form, text, match, day)) {
                    return false;
                }
                ADate = day;
                return true;
            }
        }
    } catch (const EParseError&) {
        // A cell too costly to search is no date; the recognisers never throw.
    }
    return false;
}

}  // namespace cotalys
