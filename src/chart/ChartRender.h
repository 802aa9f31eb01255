#pragma once

#include <QFont>
#include <QPainter>

#include "chart/ChartScene.h"

namespace cotalys {

// "Segoe UI" 9 pt, replaced by Noto Sans or DejaVu Sans where it is not installed, so the chart
// looks the same on any machine with the project's fonts. Needs a QGuiApplication.
QFont ChartFont();

// Draws AScene over (0, 0, AWidth, AHeight) of APainter in AFont: the four panels, the date
// axis, the crosshair and the hover line; a centred message without data, below 200 x 200
// pixels, or in place of a drawing that failed. Never throws.
void RenderChart(QPainter& APainter, const TChartScene& AScene, int AWidth, int AHeight,
                 const QFont& AFont);

}  // namespace cotalys
