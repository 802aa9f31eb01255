#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "chart/ChartGeometry.h"
#include "chart/ChartScene.h"

namespace cotalys {

// The four-panel chart of one analysed series: candles with zones and signals, volume, MACD and
// RSI on one time axis, a hover line above them and month labels below. It references the
// series, analysis and colorizer it draws: clear it before they are freed.
//
// The mouse wheel zooms around the bar under the mouse, a drag with the left button pans, and
// +, -, Left, Right and End do the same from the keyboard; a double-click or Home shows the
// bars SetData chose again. Shift+Left and Shift+Right walk the hovered bar, Escape hides the
// crosshair.
class TStockChartView : public QWidget {
public:
    // Fewest bars a zoom shows (all of them when the series has fewer).
    static constexpr int MinZoomBars = 20;

    // White, 800 x 600, "Segoe UI" 9 pt, showing "Aucune donnee chargee".
    explicit TStockChartView(QWidget* AOwner = nullptr);

    // Draws ASeries from its first bar on or after ADisplayFrom; a null or empty series clears
    // the chart with "Serie vide". Zones and signals are emptied. Throws EFinanceError "Analyse
    // ou coloriseur non calcules" (the chart is left as it was) when AAnalysis is null or not
    // computed or AColorizer is null.
    void SetData(const TPriceSeries* ASeries, const TTechnicalAnalysis* AAnalysis,
                 const TVolumeColorizer* AColorizer, TDateTime ADisplayFrom);
    // Drops the referenced objects, zones and signals, and shows AMessage ("Aucune donnee" when
    // empty).
    void ClearData(const std::string& AMessage);
    // Copies of the zones and signals to draw; call after SetData.
    void SetZones(const std::vector<TPriceZone>& AZones);
    void SetSignals(const std::vector<TEntrySignal>& ASignals);
    // Back to the bars SetData chose, from its display start to the last bar.
    void ResetZoom();
    // The chart on screen, zoom included, without crosshair as a 24-bit RGB PNG of AWidth x
    // AHeight (1600 x 1000 for the window's export); the on-screen hover is untouched. Throws
    // EFinanceError "Rien a exporter : aucune donnee" without data, and on a failed write.
    void SaveToPng(const std::string& AFileName, int AWidth, int AHeight) const;
    // Draws the chart on APainter over (0, 0, AWidth, AHeight), as on screen.
    void Render(QPainter& APainter, int AWidth, int AHeight) const;

    // What is drawn: the referenced objects, the displayed bars, the hover, the message.
    const TChartScene& Scene() const { return FScene; }

protected:
    void paintEvent(QPaintEvent* AEvent) override;
    void mousePressEvent(QMouseEvent* AEvent) override;
    void mouseMoveEvent(QMouseEvent* AEvent) override;
    void mouseReleaseEvent(QMouseEvent* AEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* AEvent) override;
    void wheelEvent(QWheelEvent* AEvent) override;
    void leaveEvent(QEvent* AEvent) override;
    void keyPressEvent(QKeyEvent* AEvent) override;

private:
    // Bars AFirst .. AFirst + ACount - 1, moved back inside the series.
    void ShowBars(int AFirst, int ACount);
    // ACount bars (within the zoom limits) with bar AAnchor still under pixel column AX.
    void ZoomAround(int AAnchor, int AX, int ACount);
    // AZoomIn steps in, or out, around the bar under pixel column AX.
    void ZoomAt(int AX, bool AZoomIn);
    // The time axis of the displayed bars at the widget's size.
    TTimeAxis Axis() const;
    // The bar under pixel column AX, or the nearest displayed one.
    int BarNear(int AX) const;
    // Hover and read-out for the mouse at AAt.
    void TrackMouse(QPoint AAt);
    void SetHover(int AIndex, int AY);

    TChartScene FScene;
    int FHomeFirst = 0;       // first bar of the view SetData chose
    int FDragX = -1;          // where a drag started, -1 when none runs
    int FDragFirst = 0;       // first displayed bar when it started
    int FWheelRemainder = 0;  // wheel rotation not yet turned into a zoom step, in 1/8 degree
};

}  // namespace cotalys
