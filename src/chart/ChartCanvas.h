#pragma once

#include <QFont>
#include <QPainter>
#include <string>
#include <vector>

#include "chart/ChartGeometry.h"
#include "indicators/VolumeColors.h"

namespace cotalys {

enum class TLineStyle { lsSolid, lsDashed, lsDotted };

// Where text goes inside a rectangle; every variant is one line, cut with an ellipsis.
enum class TTextPlacement { tpTopLeft, tpMiddleLeft, tpCentred };

// The drawing operations the chart is written in, over a QPainter, with raster-canvas
// conventions: rectangles and lines leave out their right, bottom and end pixels, and text
// positions name the top-left corner of the text. Each call names its own colours, so no pen or
// brush leaks from one drawing step into the next.
class TChartCanvas {
public:
    // AFont is the chart's face; sizes are set per drawing step with SetFontSize.
    TChartCanvas(QPainter& APainter, const QFont& AFont);

    // ARect filled with AColor, no outline.
    void FillRect(const TPixelRect& ARect, TColor AColor);
    // The outline of ARect in APen with its inside filled with ABrush.
    void FilledRectangle(const TPixelRect& ARect, TColor APen, TColor ABrush);
    // A one-pixel horizontal or vertical line from (AX0, AY0) up to, not including, (AX1, AY1).
    void Line(int AX0, int AY0, int AX1, int AY1, TColor AColor, TLineStyle AStyle);
    // Connected segments through APoints, smoothed, AWidth pixels wide.
    void Polyline(const std::vector<QPoint>& APoints, TColor AColor, int AWidth);
    // The polygon through APoints, outlined and filled in AColor.
    void FillPolygon(const std::vector<QPoint>& APoints, TColor AColor);

    // Point size of the chart's face for the text that follows (8 for labels, 9, 10).
    void SetFontSize(int APoints);
    // Width and line height, in pixels, of UTF-8 text in the current font.
    int TextWidth(const std::string& AText) const;
    int TextHeight() const;
    // AText with its top-left corner at (AX, AY).
    void TextOut(int AX, int AY, const std::string& AText, TColor AColor);
    // AText on one line inside ARect, placed as APlacement says, cut with an ellipsis.
    void TextInRect(const TPixelRect& ARect, const std::string& AText, TColor AColor,
                    TTextPlacement APlacement);

    // Keeps the drawing that follows inside ARect and out of AExcluded, until RemoveClip.
    void SetClip(const TPixelRect& ARect, const std::vector<TPixelRect>& AExcluded = {});
    void RemoveClip();

private:
    QPainter& FPainter;
};

// The QColor of a TColor.
QColor ToQColor(TColor AColor);

}  // namespace cotalys
