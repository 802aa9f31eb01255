#include "ui/FileFilter.h"

#include <QStringList>

namespace cotalys {

QString QtFileFilter(const QString& AFilter) {
    const QStringList parts = AFilter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // Qt takes the patterns from the last parentheses of the description.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0) {
            description.truncate(open);
        }
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // On Linux "*.*" would skip names without a dot; "all files" means every name.
        if (patterns == QStringLiteral("*.*")) {
            patterns = QStringLiteral("*");
        }
        entries << description.trimmed() + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

}  // namespace cotalys
