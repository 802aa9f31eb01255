#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "chart/ChartScene.h"

namespace cotalys {

// The four-panel chart of one analysed series: candles with zones and signals, volume, MACD and
// RSI on one time axis, a hover line above them and month labels below. It references the
// series, analysis and colorizer it draws: clear it before they are freed.
class TStockChartView : public QWidget {
public:
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
    // The chart without crosshair as a 24-bit RGB PNG of AWidth x AHeight (1600 x 1000 for the
    // window's export); the on-screen hover is untouched. Throws EFinanceError "Rien a exporter :
    // aucune donnee" without data, and on a failed write.
    void SaveToPng(const std::string& AFileName, int AWidth, int AHeight) const;
    // Draws the chart on APainter over (0, 0, AWidth, AHeight), as on screen.
    void Render(QPainter& APainter, int AWidth, int AHeight) const;

    // What is drawn: the referenced objects, the first bar, the hovered bar, the message.
    const TChartScene& Scene() const { return FScene; }

protected:
    void paintEvent(QPaintEvent* AEvent) override;
    void mouseMoveEvent(QMouseEvent* AEvent) override;
    void leaveEvent(QEvent* AEvent) override;
    // Left and Right step the hovered bar, Home and End jump to the first and last bar, Escape
    // hides the crosshair: the figures of every bar can be read without a mouse.
    void keyPressEvent(QKeyEvent* AEvent) override;

private:
    void SetHoverIndex(int AIndex);

    TChartScene FScene;
};

}  // namespace cotalys
