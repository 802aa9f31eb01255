#include "ui/UiText.h"

namespace cotalys {

QString ReportLines(const std::string& AText) {
    QString text = ToQ(AText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace cotalys
