#pragma once

// The chart: the four-panel control, the scene it draws, its rendering and its PNG export; the
// picture of a backtest.
#include "chart/BacktestPicture.h"
#include "chart/ChartExport.h"
#include "chart/ChartRender.h"
#include "chart/ChartScene.h"
#include "chart/PortfolioPicture.h"
#include "chart/StockChartView.h"
