#include "chart/StockChartView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "chart/ChartExport.h"
#include "chart/ChartRender.h"
#include "chart/ChartScales.h"

namespace cotalys {

namespace {

// One zoom step shows this many times fewer, or more, bars.
constexpr double ZoomFactor = 1.25;
// One wheel notch, in eighths of a degree.
constexpr int WheelNotch = 120;
// Left and Right move the view by a tenth of its bars.
constexpr int PanDivisor = 10;

}  // namespace

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
    FHomeFirst = FScene.First;
    FDragX = -1;
    update();
}

void TStockChartView::ClearData(const std::string& AMessage) {
    FScene = TChartScene{};
    FScene.Message = AMessage;
    FHomeFirst = 0;
    FDragX = -1;
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

void TStockChartView::ResetZoom() {
    if (FScene.HasData()) {
        ShowBars(FHomeFirst, FScene.Series->Count() - FHomeFirst);
    }
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

void TStockChartView::mousePressEvent(QMouseEvent* AEvent) {
    if (!FScene.HasData() || AEvent->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(AEvent);
        return;
    }
    FDragX = AEvent->position().toPoint().x();
    FDragFirst = FScene.First;
    setCursor(Qt::ClosedHandCursor);
}

void TStockChartView::mouseMoveEvent(QMouseEvent* AEvent) {
    if (!FScene.HasData()) {
        return;
    }
    const QPoint at = AEvent->position().toPoint();
    if (FDragX >= 0 && (AEvent->buttons() & Qt::LeftButton) != 0) {
        // The bars follow the mouse: a drag to the right brings earlier sessions into view.
        const int count = FScene.VisibleCount();
        const int plotWidth = Axis().PlotWidth;
        const auto shift =
            std::lround(static_cast<double>(FDragX - at.x()) * count / std::max(plotWidth, 1));
        ShowBars(FDragFirst + static_cast<int>(shift), count);
    }
    TrackMouse(at);
}

void TStockChartView::mouseReleaseEvent(QMouseEvent* AEvent) {
    if (AEvent->button() == Qt::LeftButton && FDragX >= 0) {
        FDragX = -1;
        unsetCursor();
    }
}

void TStockChartView::mouseDoubleClickEvent(QMouseEvent*) {
    ResetZoom();
}

void TStockChartView::wheelEvent(QWheelEvent* AEvent) {
    if (!FScene.HasData()) {
        QWidget::wheelEvent(AEvent);
        return;
    }
    // A touchpad turns in small steps: they add up to whole notches.
    FWheelRemainder += AEvent->angleDelta().y();
    const int x = AEvent->position().toPoint().x();
    while (std::abs(FWheelRemainder) >= WheelNotch) {
        const bool zoomIn = FWheelRemainder > 0;
        ZoomAt(x, zoomIn);
        FWheelRemainder += zoomIn ? -WheelNotch : WheelNotch;
    }
    TrackMouse(AEvent->position().toPoint());
    AEvent->accept();
}

void TStockChartView::leaveEvent(QEvent*) {
    SetHover(-1, -1);
}

void TStockChartView::keyPressEvent(QKeyEvent* AEvent) {
    if (!FScene.HasData()) {
        QWidget::keyPressEvent(AEvent);
        return;
    }
    const int first = FScene.First;
    const int last = FScene.Last;
    const int count = FScene.VisibleCount();
    const int hover = FScene.HoverIndex;
    const bool hovering = hover >= first && hover <= last;
    const int step = std::max(count / PanDivisor, 1);
    const bool shift = (AEvent->modifiers() & Qt::ShiftModifier) != 0;
    const TTimeAxis axis = Axis();
    // The keyboard zooms around the hovered bar, or keeps the latest sessions in view.
    const int zoomX = hovering ? axis.IndexToX(hover) : axis.PlotLeft + axis.PlotWidth - 1;
    switch (AEvent->key()) {
        case Qt::Key_Plus:
            ZoomAt(zoomX, true);
            break;
        case Qt::Key_Minus:
            ZoomAt(zoomX, false);
            break;
        case Qt::Key_Left:
            if (shift) {
                SetHover(hovering ? std::max(hover - 1, first) : last, -1);
            } else {
                ShowBars(first - step, count);
            }
            break;
        case Qt::Key_Right:
            if (shift) {
                SetHover(hovering ? std::min(hover + 1, last) : first, -1);
            } else {
                ShowBars(first + step, count);
            }
            break;
        case Qt::Key_Home:
            ResetZoom();
            break;
        case Qt::Key_End:
            ShowBars(FScene.Series->Count() - count, count);
            break;
        case Qt::Key_Escape:
            SetHover(-1, -1);
            break;
        default:
            QWidget::keyPressEvent(AEvent);
    }
}

void TStockChartView::ShowBars(int AFirst, int ACount) {
    const int total = FScene.Series->Count();
    const int count = std::clamp(ACount, 1, total);
    const int first = std::clamp(AFirst, 0, total - count);
    if (first != FScene.First || first + count - 1 != FScene.Last) {
        FScene.First = first;
        FScene.Last = first + count - 1;
        update();
    }
}

void TStockChartView::ZoomAround(int AAnchor, int AX, int ACount) {
    const TTimeAxis axis = Axis();
    const int x = std::clamp(AX, axis.PlotLeft, axis.PlotLeft + axis.PlotWidth - 1);
    // The slot under AX in the new view, counted from its left.
    const auto slot = static_cast<int>(static_cast<std::int64_t>(x - axis.PlotLeft) * ACount /
                                       std::max(axis.PlotWidth, 1));
    ShowBars(AAnchor - slot, ACount);
}

void TStockChartView::ZoomAt(int AX, bool AZoomIn) {
    const int count = FScene.VisibleCount();
    const int total = FScene.Series->Count();
    int target = 0;
    if (AZoomIn) {
        // Never below the minimum, and a view already under it stays as it is.
        target = static_cast<int>(std::lround(count / ZoomFactor));
        target = std::min(std::max(target, std::min(MinZoomBars, total)), count);
    } else {
        target = std::max(static_cast<int>(std::lround(count * ZoomFactor)), count + 1);
        target = std::min(target, total);
    }
    ZoomAround(BarNear(AX), AX, target);
}

int TStockChartView::BarNear(int AX) const {
    const TTimeAxis axis = Axis();
    const int index = axis.XToIndex(AX);
    if (index >= 0) {
        return index;
    }
    return AX < axis.PlotLeft ? FScene.First : FScene.Last;
}

TTimeAxis TStockChartView::Axis() const {
    return TimeAxisOf(LayoutPanels(width(), height()), FScene);
}

void TStockChartView::TrackMouse(QPoint AAt) {
    const TChartLayout layout = LayoutPanels(width(), height());
    const bool inPlot = AAt.y() >= layout.Plot.Top && AAt.y() <= layout.Plot.Bottom;
    const int index = inPlot ? TimeAxisOf(layout, FScene).XToIndex(AAt.x()) : -1;
    int y = -1;
    for (const TChartPanel& panel : layout.Panels) {
        if (index >= 0 && AAt.y() >= panel.Rect.Top && AAt.y() < panel.Rect.Bottom) {
            y = AAt.y();
        }
    }
    SetHover(index, y);
}

void TStockChartView::SetHover(int AIndex, int AY) {
    if (AIndex != FScene.HoverIndex || AY != FScene.HoverY) {
        FScene.HoverIndex = AIndex;
        FScene.HoverY = AY;
        update();
    }
}

}  // namespace cotalys
