#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace cotalys {

// The captions of the main window's top strip, which the window shows and its layout measures.
inline const QString SymbolCaption = QStringLiteral("Symbole");
inline const QString EndDateCaption = QStringLiteral("Jusqu'au");
inline const QString SourceCaption = QStringLiteral("Source");
inline const QString BrowseCaption = QStringLiteral("...");
inline const QString ExportCaption = QStringLiteral("Exporter PNG");
inline const QString SizingCaption = QStringLiteral("Taille...");
// The sources in the order of their kinds; the layout makes room for the first, the longest.
inline const QStringList SourceCaptions = {QStringLiteral("Yahoo Finance (JSON)"),
                                           QStringLiteral("Page HTML (URL)"),
                                           QStringLiteral("Fichier local")};
// The backtest's periods, in years and in words; the layout makes room for the last, the
// longest. Three years are proposed first.
inline constexpr std::array<int, 5> YearsChoices = {1, 2, 3, 5, 10};
inline const QStringList YearsCaptions = {QStringLiteral("1 an"), QStringLiteral("2 ans"),
                                          QStringLiteral("3 ans"), QStringLiteral("5 ans"),
                                          QStringLiteral("10 ans")};
inline constexpr int DefaultYearsIndex = 2;
// The buttons the runs switch.
inline const QString LoadCaption = QStringLiteral("Charger 1 an");
inline const QString BacktestCaption = QStringLiteral("Backtest CAC 40");
inline const QString ScanCaption = QStringLiteral("Scanner du jour");
// A running load, backtest or scan turns its button into this one.
inline const QString StopCaption = QStringLiteral("Arreter");

}  // namespace cotalys
