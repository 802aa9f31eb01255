#pragma once

#include <QString>
#include <QStringList>

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
// The backtest's periods; the layout makes room for the last, the longest.
inline const QStringList YearsCaptions = {QStringLiteral("1 an"), QStringLiteral("3 ans"),
                                          QStringLiteral("5 ans")};
// The buttons the runs switch.
inline const QString LoadCaption = QStringLiteral("Charger 1 an");
inline const QString BacktestCaption = QStringLiteral("Backtest CAC 40");
inline const QString ScanCaption = QStringLiteral("Scanner du jour");
// A running load, backtest or scan turns its button into this one.
inline const QString StopCaption = QStringLiteral("Arreter");

}  // namespace cotalys
