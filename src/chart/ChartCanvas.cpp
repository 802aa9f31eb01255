#include "chart/ChartCanvas.h"

#include <QFontMetrics>
#include <QPen>

namespace cotalys {

namespace {

// The inclusive QRect covering the pixels of a raster rectangle.
QRect ToQRect(const TPixelRect& ARect) {
    return QRect(QPoint(ARect.Left, ARect.Top), QPoint(ARect.Right - 1, ARect.Bottom - 1));
}

Qt::PenStyle ToQtStyle(TLineStyle AStyle) {
    switch (AStyle) {
        case TLineStyle::lsDashed:
            return Qt::DashLine;
        case TLineStyle::lsDotted:
            return Qt::DotLine;
        case TLineStyle::lsSolid:
            break;
    }
    return Qt::SolidLine;
}

int Step(int AFrom, int ATo) {
    return (ATo > AFrom) - (ATo < AFrom);
}

}  // namespace

QColor ToQColor(TColor AColor) {
    return QColor(RedOf(AColor), GreenOf(AColor), BlueOf(AColor));
}

TChartCanvas::TChartCanvas(QPainter& APainter, const QFont& AFont) : FPainter(APainter) {
    FPainter.setFont(AFont);
    FPainter.setRenderHint(QPainter::Antialiasing, false);
    FPainter.setBackgroundMode(Qt::TransparentMode);
}

void TChartCanvas::FillRect(const TPixelRect& ARect, TColor AColor) {
    if (ARect.Width() > 0 && ARect.Height() > 0) {
        FPainter.fillRect(ToQRect(ARect), ToQColor(AColor));
    }
}

void TChartCanvas::FilledRectangle(const TPixelRect& ARect, TColor APen, TColor ABrush) {
    if (ARect.Width() <= 0 || ARect.Height() <= 0) {
        return;
    }
    FillRect(ARect, ABrush);
    // A one-pixel outline drawn on the rectangle's own first and last rows and columns.
    FPainter.setPen(QPen(ToQColor(APen), 0));
    FPainter.setBrush(Qt::NoBrush);
    FPainter.drawRect(ARect.Left, ARect.Top, ARect.Width() - 1, ARect.Height() - 1);
}

void TChartCanvas::Line(int AX0, int AY0, int AX1, int AY1, TColor AColor, TLineStyle AStyle) {
    // The end pixel is left out, as a raster canvas does; only straight lines are drawn here.
    const int endX = AY0 == AY1 ? AX1 - Step(AX0, AX1) : AX1;
    const int endY = AX0 == AX1 ? AY1 - Step(AY0, AY1) : AY1;
    if (AX0 == AX1 && AY0 == AY1) {
        return;
    }
    FPainter.setPen(QPen(ToQColor(AColor), 0, ToQtStyle(AStyle)));
    FPainter.drawLine(AX0, AY0, endX, endY);
}

void TChartCanvas::Polyline(const std::vector<QPoint>& APoints, TColor AColor, int AWidth) {
    if (APoints.size() < 2) {
        return;
    }
    FPainter.save();
    FPainter.setRenderHint(QPainter::Antialiasing, true);
    FPainter.setPen(QPen(ToQColor(AColor), AWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    FPainter.drawPolyline(APoints.data(), static_cast<int>(APoints.size()));
    FPainter.restore();
}

void TChartCanvas::FillPolygon(const std::vector<QPoint>& APoints, TColor AColor) {
    FPainter.setPen(QPen(ToQColor(AColor), 0));
    FPainter.setBrush(ToQColor(AColor));
    FPainter.drawPolygon(APoints.data(), static_cast<int>(APoints.size()));
    FPainter.setBrush(Qt::NoBrush);
}

void TChartCanvas::SetFontSize(int APoints) {
    QFont font = FPainter.font();
    font.setPointSize(APoints);
    FPainter.setFont(font);
}

int TChartCanvas::TextWidth(const std::string& AText) const {
    return FPainter.fontMetrics().horizontalAdvance(QString::fromStdString(AText));
}

int TChartCanvas::TextHeight() const {
    return FPainter.fontMetrics().height();
}

void TChartCanvas::TextOut(int AX, int AY, const std::string& AText, TColor AColor) {
    FPainter.setPen(ToQColor(AColor));
    FPainter.drawText(AX, AY + FPainter.fontMetrics().ascent(), QString::fromStdString(AText));
}

void TChartCanvas::TextInRect(const TPixelRect& ARect, const std::string& AText, TColor AColor,
                              TTextPlacement APlacement) {
    static constexpr Qt::Alignment Alignments[] = {Qt::AlignLeft | Qt::AlignTop,
                                                   Qt::AlignLeft | Qt::AlignVCenter,
                                                   Qt::AlignHCenter | Qt::AlignVCenter};
    const QRect rect = ToQRect(ARect);
    const QString text = FPainter.fontMetrics().elidedText(QString::fromStdString(AText),
                                                           Qt::ElideRight, rect.width());
    FPainter.setPen(ToQColor(AColor));
    FPainter.drawText(rect, Alignments[static_cast<int>(APlacement)] | Qt::TextSingleLine, text);
}

void TChartCanvas::SetClip(const TPixelRect& ARect, const std::vector<TPixelRect>& AExcluded) {
    QRegion region(ToQRect(ARect));
    for (const TPixelRect& excluded : AExcluded) {
        region -= QRegion(ToQRect(excluded));
    }
    // Qt's raster engine ignores a clip region given while clipping is off, as RemoveClip
    // leaves it: clipping is turned back on first.
    FPainter.setClipping(true);
    FPainter.setClipRegion(region);
}

void TChartCanvas::RemoveClip() {
    FPainter.setClipping(false);
}

}  // namespace cotalys
