#include "ui/NumberText.h"

#include <cmath>
#include <limits>

#include "core/Core.h"
#include "ui/UiText.h"

namespace cotalys {

bool ParseNumber(const QString& AText, double& AValue) {
    QString text = AText.trimmed();
    // Besides the blank and the non-breaking space, French number formatting groups digits with
    // the narrow non-breaking space, which users paste along with the figures.
    text.remove(QLatin1Char(' '));
    text.remove(QChar(0x00A0));
    text.remove(QChar(0x202F));
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    double value = 0;
    if (!TryStrToFloatInvariant(FromQ(text), value) || !std::isfinite(value)) {
        return false;
    }
    AValue = value;
    return true;
}

std::int32_t RoundToInt32(double AValue) {
    // Out-of-range values are held at the limits so the settings check reports them instead of
    // the conversion overflowing.
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    const double rounded = std::nearbyint(AValue);
    if (std::isnan(rounded)) {
        return 0;
    }
    if (rounded <= lowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (rounded >= highest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(rounded);
}

QString EditText(double AValue) {
    return ToQ(FormatFloat("0.###", AValue, FrenchFormatSettings()));
}

}  // namespace cotalys
