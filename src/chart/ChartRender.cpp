#include "chart/ChartRender.h"

#include <mutex>

#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"
#include "chart/ChartTexts.h"

namespace cotalys {

namespace {

// Hands the caller's painter back with the pen, brush, font and clip it came with.
class TPainterStateGuard {
public:
    explicit TPainterStateGuard(QPainter& APainter) : FPainter(APainter) { FPainter.save(); }
    ~TPainterStateGuard() { FPainter.restore(); }
    TPainterStateGuard(const TPainterStateGuard&) = delete;
    TPainterStateGuard& operator=(const TPainterStateGuard&) = delete;

private:
    QPainter& FPainter;
};

void DrawPanels(TChartCanvas& ACanvas, const TChartScene& AScene, int AWidth, int AHeight) {
    const TChartLayout layout = BuildChartLayout(AScene, AWidth, AHeight);
    const TChartPainter painter{
        ACanvas, AScene, layout, TimeAxisOf(layout, AScene), FrenchFormatSettings(),
        AWidth,  AHeight};
    DrawPricePanel(painter);
    DrawVolumePanel(painter);
    DrawMACDPanel(painter);
    DrawRSIPanel(painter);
    DrawDateAxis(painter);
    // Labels and titles over everything in the panels, separators included.
    DrawZoneLabels(painter);
    DrawPanelTitles(painter);
    DrawValueLabels(painter);
    DrawCrosshair(painter);
    DrawHoverText(painter);
}

void ShowError(TChartCanvas& ACanvas, int AWidth, int AHeight, const std::string& AMessage) {
    ACanvas.RemoveClip();
    ACanvas.FillRect({0, 0, AWidth, AHeight}, chart_palette::Background);
    DrawMessage(ACanvas, AWidth, AHeight, "Erreur de rendu : " + AMessage);
}

}  // namespace

QFont ChartFont() {
    static std::once_flag substituted;
    std::call_once(substituted, [] {
        QFont::insertSubstitutions("Segoe UI", {"Noto Sans", "DejaVu Sans"});
    });
    return QFont("Segoe UI", 9);
}

void DrawMessage(TChartCanvas& ACanvas, int AWidth, int AHeight, const std::string& AText) {
    ACanvas.SetFontSize(10);
    ACanvas.TextInRect({0, 0, AWidth, AHeight}, AText, chart_palette::Label,
                       TTextPlacement::tpCentred);
}

void RenderChart(QPainter& APainter, const TChartScene& AScene, int AWidth, int AHeight,
                 const QFont& AFont) {
    const TPainterStateGuard guard(APainter);
    TChartCanvas canvas(APainter, AFont);
    canvas.FillRect({0, 0, AWidth, AHeight}, chart_palette::Background);
    const std::string message = ChartMessage(AScene, AWidth, AHeight);
    if (!message.empty()) {
        DrawMessage(canvas, AWidth, AHeight, message);
        return;
    }
    // A drawing fault must not take the window down with it: it is shown in place of the chart.
    try {
        DrawPanels(canvas, AScene, AWidth, AHeight);
    } catch (const std::exception& e) {
        ShowError(canvas, AWidth, AHeight, e.what());
    } catch (...) {
        ShowError(canvas, AWidth, AHeight, "erreur inconnue");
    }
}

}  // namespace cotalys
