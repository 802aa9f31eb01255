#pragma once

#include <QString>

namespace cotalys {

// The open dialog's price files and the save dialog's PNG images, written as description and
// pattern pairs separated by vertical bars.
inline const QString PriceFileFilter = QStringLiteral(
    "Cours historiques (*.csv;*.htm;*.html;*.json)|*.csv;*.htm;*.html;*.json|Tous (*.*)|*.*");
inline const QString PngFileFilter = QStringLiteral("Image PNG (*.png)|*.png");

// The same filter as Qt's file dialogs read it: one "Description (patterns)" entry per pair,
// ";;" between entries, blanks between patterns.
QString QtFileFilter(const QString& AFilter);

}  // namespace cotalys
