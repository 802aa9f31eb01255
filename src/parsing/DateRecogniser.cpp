#include <array>
#include <charconv>
#include <string>

#include "core/Core.h"
#include "parsing/CellRecognisers.h"
#include "parsing/Regex.h"
#include "parsing/TextHelpers.h"

namespace cotalys {
namespace {

// One written form of a date: which of its three groups holds each part.
struct TDateForm {
    int YearGroup;
    int MonthGroup;
    int DayGroup;
    bool MonthByName;  // the month group is a name ("janv.", "Aug")
    bool ShortYears;   // years below 100 belong to this century (15/01/24)
};

// In the order they are tried; the first form that matches decides.
constexpr std::array<TDateForm, 4> DateForms = {{
    {1, 2, 3, false, false},  // 2024-01-15
    {3, 2, 1, false, true},   // 15/01/2024, 15.01.24, 5-1-2024 (always day first)
    {3, 2, 1, true, false},   // 15 janv. 2024
    {3, 1, 2, true, false},   // Jan 15, 2024
}};

// The four forms as the alternatives of one expression, three groups each: the first alternative
// that matches is the one reported, as if they were tried one after the other. Anchored at the
// start only, so a time of day or a zone after the date is ignored.
const TRegex& DateExpression() {
    static const TRegex Expression(
        "^(?:(\\d{4})-(\\d{1,2})-(\\d{1,2})"
        "|(\\d{1,2})[/.\\-](\\d{1,2})[/.\\-](\\d{2,4})"
        "|(\\d{1,2})\\s+([^\\s\\d]+)\\s+(\\d{4})"
        "|([A-Za-z]+)\\.?\\s+(\\d{1,2}),?\\s+(\\d{4}))",
        TRegexOption::roNone, "Date");
    return Expression;
}

// The groups hold at most four digits, so the number always fits.
int Number(std::string_view ADigits) {
    int value = 0;
    std::from_chars(ADigits.data(), ADigits.data() + ADigits.size(), value);
    return value;
}

// The day written in the form whose groups start after group AFirstGroup - 1.
bool DayFromGroups(const TDateForm& AForm, int AFirstGroup, std::string_view AText,
                   const TRegexMatch& AMatch, TDateTime& ADate) {
    const auto group = [&](int AIndex) { return AMatch.Group(AText, AFirstGroup + AIndex - 1); };
    const std::string_view monthText = group(AForm.MonthGroup);
    const int month = AForm.MonthByName ? MonthFromName(monthText) : Number(monthText);
    int year = Number(group(AForm.YearGroup));
    if (AForm.ShortYears && year < 100) {
        year += 2000;
    }
    return TryEncodeDate(year, month, Number(group(AForm.DayGroup)), ADate);
}

}  // namespace

bool ParseDate(std::string_view AText, TDateTime& ADate) {
    ADate = 0;
    // No-break spaces count as spaces, at the ends as well as between the parts.
    std::string spaced;
    std::string_view text = AText;
    if (AText.find("\xC2\xA0") != std::string_view::npos) {
        spaced = ReplaceText(AText, "\xC2\xA0", " ", false);
        text = spaced;
    }
    text = TrimBlanks(text);
    if (text.empty()) {
        return false;
    }
    try {
        TRegexMatch match;
        if (!DateExpression().Find(text, 0, match)) {
            return false;
        }
        for (std::size_t form = 0; form < DateForms.size(); ++form) {
            const int firstGroup = static_cast<int>(form) * 3 + 1;
            if (match.Begin(firstGroup) != std::string_view::npos) {
                TDateTime day = 0;
                if (!DayFromGroups(DateForms[form], firstGroup, text, match, day)) {
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
