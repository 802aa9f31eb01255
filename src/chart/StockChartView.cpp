#include "chart/StockChartView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "chart/ChartExport.h"
#include "chart/ChartRender.h"
#include "chart/ChartScales.h"

namespace cotalys {

TStockChartView::TStockChartView(QWidget* AOwner) : QWidget(AOwner) {
    FScene.Message = "Aucune donnee chargee";
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setFont(ChartFont());
    resize(800, 600);
}

void TStockChartView::SetData(const TPriceSeries* ASeries, const TTechnicalAnalysis* AAnalysis,
                              const TVolumeColorizer* AColorizer, TDateTime ADisplayFrom) {
    if (ASeries == nullptr || ASeries->Count() == 0) {
        ClearData("Serie vide");
        return;
    }
    if (AAnalysis == nullptr || AColorizer == nullptr) {
        throw EFinanceError("Analyse ou coloriseur non calcules");
    }
    FScene = TChartScene::Of(*ASeries, *AAnalysis, *AColorizer, ADisplayFrom);
    update();
}

void TStockChartView::ClearData(const std::string& AMessage) {
    FScene = TChartScene{};
    FScene.Message = AMessage;
    update();
}

void TStockChartView::SetZones(const std::vector<TPriceZone>& AZones) {
    FScene.Zones = AZones;
    update();
}

void TStockChartView::SetSignals(const std::vector<TEntrySignal>& ASignals) {
    FScene.Signals = ASignals;
    update();
}

void TStockChartView::SaveToPng(const std::string& AFileName, int AWidth, int AHeight) const {
    SaveChartToPng(FScene, AFileName, AWidth, AHeight, font());
}

void TStockChartView::Render(QPainter& APainter, int AWidth, int AHeight) const {
    RenderChart(APainter, FScene, AWidth, AHeight, font());
}

void TStockChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Render(painter, width(), height());
}

void TStockChartView::mouseMoveEvent(QMouseEvent* AEvent) {
    if (!FScene.HasData()) {
        return;
    }
    const TChartLayout layout = LayoutPanels(width(), height());
    const QPoint at = AEvent->position().toPoint();
    const bool inPlot = at.y() >= layout.Plot.Top && at.y() <= layout.Plot.Bottom;
    SetHoverIndex(inPlot ? TimeAxisOf(layout, FScene).XToIndex(at.x()) : -1);
}

void TStockChartView::leaveEvent(QEvent*) {
    SetHoverIndex(-1);
}

void TStockChartView::keyPressEvent(QKeyEvent* AEvent) {
    if (!FScene.HasData()) {
        QWidget::keyPressEvent(AEvent);
        return;
    }
    const int first = FScene.First;
    const int last = FScene.Series->Count() - 1;
    const int hover = FScene.HoverIndex;
    const bool hovering = hover >= first && hover <= last;
    switch (AEvent->key()) {
        case Qt::Key_Left:
            SetHoverIndex(hovering ? std::max(hover - 1, first) : last);
            break;
        case Qt::Key_Right:
            SetHoverIndex(hovering ? std::min(hover + 1, last) : first);
            break;
        case Qt::Key_Home:
            SetHoverIndex(first);
            break;
        case Qt::Key_End:
            SetHoverIndex(last);
            break;
        case Qt::Key_Escape:
            SetHoverIndex(-1);
            break;
        default:
            QWidget::keyPressEvent(AEvent);
    }
}

void TStockChartView::SetHoverIndex(int AIndex) {
    if (AIndex != FScene.HoverIndex) {
        FScene.HoverIndex = AIndex;
        update();
    }
}

}  // namespace cotalys
