#pragma once

#include <QString>
#include <string>

namespace cotalys {

// The library layers speak UTF-8 std::string; the widgets speak QString.
inline QString ToQ(const std::string& AText) {
    return QString::fromStdString(AText);
}
inline std::string FromQ(const QString& AText) {
    return AText.toStdString();
}

// Text of a multi-line report as the widgets want it: CR LF and lone CR become LF.
QString ReportLines(const std::string& AText);

}  // namespace cotalys
