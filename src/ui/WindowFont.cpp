#include "ui/WindowFont.h"

#include <QFont>
#include <QStringList>
#include <QWidget>
#include <cmath>

namespace cotalys {

void InstallFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("Segoe UI"),
                               {QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Consolas"),
                               {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Mono")});
}

void ApplyWindowFont(QWidget* AWidget) {
    AWidget->setFont(QFont(QStringLiteral("Segoe UI"), 9));
}

void ApplyLogFont(QWidget* AWidget) {
    QFont font(QStringLiteral("Consolas"), 9);
    font.setStyleHint(QFont::Monospace);
    AWidget->setFont(font);
}

double ScreenScale(const QWidget* AWidget) {
    const int dpi = AWidget->logicalDpiX();
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

int Scaled(const QWidget* AWidget, int AValue) {
    return static_cast<int>(std::lround(AValue * ScreenScale(AWidget)));
}

}  // namespace cotalys
