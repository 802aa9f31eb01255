#pragma once

#include <array>
#include <string>

namespace cotalys {

// An integer rectangle in pixels; Right and Bottom lie just outside it, as on a raster canvas.
struct TPixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    // The two rectangles share at least one pixel.
    bool Intersects(const TPixelRect& AOther) const {
        return Left < AOther.Right && AOther.Left < Right && Top < AOther.Bottom &&
               AOther.Top < Bottom;
    }
    // Every pixel of AInner lies in this rectangle.
    bool Contains(const TPixelRect& AInner) const {
        return Left <= AInner.Left && AInner.Right <= Right && Top <= AInner.Top &&
               AInner.Bottom <= Bottom;
    }
    // The same rectangle ADX pixels right and ADY pixels down.
    TPixelRect Moved(int ADX, int ADY) const {
        return {Left + ADX, Top + ADY, Right + ADX, Bottom + ADY};
    }
    bool operator==(const TPixelRect&) const = default;
};

// The four stacked panels, top to bottom; ordinals are the declared order.
enum class TPanelKind { pkPrice, pkVolume, pkMACD, pkRSI };

inline constexpr int PanelCount = 4;
inline constexpr std::array<TPanelKind, PanelCount> PanelKinds = {
    TPanelKind::pkPrice, TPanelKind::pkVolume, TPanelKind::pkMACD, TPanelKind::pkRSI};

// One panel: where it sits, the value range its height shows, and its title.
struct TChartPanel {
    TPixelRect Rect;
    double MinValue = 0;
    double MaxValue = 0;
    std::string Title;

    // Pixel row of AValue: the middle for NaN or a flat range, otherwise clamped one pixel
    // beyond the panel so out-of-scale values stay just outside it.
    int ValueToY(double AValue) const;
    // The value ValueToY puts on pixel row AY (MinValue for a flat range).
    double YToValue(int AY) const;
};

// The time axis shared by the panels: bar AFirst .. AFirst + ACount - 1 in equal slots across
// the plot's width, each bar at the centre of its slot.
struct TTimeAxis {
    int PlotLeft = 0;
    int PlotWidth = 0;
    int First = 0;
    int Count = 0;

    // Centre pixel of bar AIndex's slot.
    int IndexToX(int AIndex) const;
    // Bar whose slot holds pixel column AX; -1 outside the bars or without any.
    int XToIndex(int AX) const;
    // Bars fill 70 % of their slot, at least one pixel.
    int BarWidth() const;
    int Last() const { return First + Count - 1; }
};

// Where everything goes for one rendering of a given size.
struct TChartLayout {
    TPixelRect Plot;
    std::array<TChartPanel, PanelCount> Panels;

    TChartPanel& Panel(TPanelKind AKind) { return Panels[static_cast<int>(AKind)]; }
    const TChartPanel& Panel(TPanelKind AKind) const { return Panels[static_cast<int>(AKind)]; }
};

// Text band above the plot, margins around it and gaps between panels, in pixels.
inline constexpr int PlotLeftMargin = 8;
inline constexpr int HoverBandHeight = 26;
inline constexpr int ValueLabelMargin = 70;
inline constexpr int DateLabelMargin = 20;
inline constexpr int PanelGap = 8;

// The plot rectangle and the panel rectangles for a rendering of AWidth x AHeight pixels;
// scales and titles are left empty.
TChartLayout LayoutPanels(int AWidth, int AHeight);

// Nearest integer, halves to even, clamped into the int range (NaN gives 0).
int RoundPixel(double AValue);

}  // namespace cotalys
