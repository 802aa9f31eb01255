#pragma once

#include <QString>

namespace cotalys {

// The captions of the main window's buttons that the layout measures and the runs switch.
inline const QString LoadCaption = QStringLiteral("Charger 1 an");
inline const QString BacktestCaption = QStringLiteral("Backtest CAC 40");
inline const QString ScanCaption = QStringLiteral("Scanner du jour");
// A running load, backtest or scan turns its button into this one.
inline const QString StopCaption = QStringLiteral("Arreter");

}  // namespace cotalys
