#pragma once

#include <array>

class QFontMetrics;

namespace cotalys {

// The controls of the main window's top strip, in their order on screen.
enum class TStripItem {
    siSymbolLabel,
    siSymbol,
    siEndLabel,
    siEndDate,
    siSourceLabel,
    siSource,
    siLocation,
    siBrowse,
    siLoad,
    siExport,
    siScan,
    siSizing,
    siBacktest,
    siYears
};

inline constexpr int StripItemCount = 14;

// Horizontal place of one control.
struct TStripSlot {
    int Left = 0;
    int Width = 0;
};

// Where the top strip's controls go for one font and one strip width. Everything derives from
// text measures, so a larger font gives a taller strip and wider buttons.
struct TTopStripLayout {
    int Gap = 0;            // half the width of "M", at least 4
    int ControlHeight = 0;  // edit boxes and buttons
    int StripHeight = 0;    // ControlHeight plus a gap above and below
    std::array<TStripSlot, StripItemCount> Slots;

    const TStripSlot& Slot(TStripItem AItem) const { return Slots[static_cast<int>(AItem)]; }
    // True for the controls whose height follows ControlHeight (not labels or lists; the end
    // date box is an edit box).
    static bool TakesControlHeight(TStripItem AItem);
};

// Lays the strip out from left to right: the location box takes the spare width, never less
// than twelve "W"; when even that does not fit, the row overflows on the right.
TTopStripLayout LayoutTopStrip(const QFontMetrics& AMetrics, int AClientWidth);

}  // namespace cotalys
