#include "ui/TopStripLayout.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>

#include "ui/Captions.h"

namespace cotalys {

bool TTopStripLayout::TakesControlHeight(TStripItem AItem) {
    switch (AItem) {
        case TStripItem::siSymbolLabel:
        case TStripItem::siEndLabel:
        case TStripItem::siSourceLabel:
        case TStripItem::siSource:
        case TStripItem::siYears:
            return false;
        default:
            return true;
    }
}

TTopStripLayout LayoutTopStrip(const QFontMetrics& AMetrics, int AClientWidth) {
    const auto width = [&](const QString& AText) { return AMetrics.horizontalAdvance(AText); };
    TTopStripLayout layout;
    const int g = std::max(width(QStringLiteral("M")) / 2, 4);
    layout.Gap = g;
    layout.ControlHeight = AMetrics.size(0, QStringLiteral("Ag")).height() + g + 4;
    layout.StripHeight = layout.ControlHeight + 2 * g;

    const auto button = [&](const QString& ACaption) { return width(ACaption) + 3 * g; };
    const int fixed = button(BrowseCaption) + button(LoadCaption) + button(ExportCaption) +
                      button(BacktestCaption) + button(ScanCaption) + button(SizingCaption) +
                      width(YearsCaptions.back()) + 14 * g;

    int x = g;
    const auto place = [&](TStripItem AItem, int AWidth) {
        layout.Slots[static_cast<int>(AItem)] = {x, AWidth};
        x += AWidth + g;
    };
    place(TStripItem::siSymbolLabel, width(SymbolCaption));
    place(TStripItem::siSymbol, 2 * g + width(QStringLiteral("WWWW.WWW")));
    place(TStripItem::siEndLabel, width(EndDateCaption));
    // Room for the date and the calendar's arrow.
    place(TStripItem::siEndDate, 6 * g + width(QStringLiteral("00/00/0000")));
    place(TStripItem::siSourceLabel, width(SourceCaption));
    place(TStripItem::siSource, 6 * g + width(SourceCaptions.front()));
    place(TStripItem::siLocation,
          std::max(12 * width(QStringLiteral("W")), AClientWidth - x - fixed));
    place(TStripItem::siBrowse, button(BrowseCaption));
    place(TStripItem::siLoad, button(LoadCaption));
    place(TStripItem::siExport, button(ExportCaption));
    place(TStripItem::siScan, button(ScanCaption));
    place(TStripItem::siSizing, button(SizingCaption));
    place(TStripItem::siBacktest, button(BacktestCaption));
    place(TStripItem::siYears, 6 * g + width(YearsCaptions.back()));
    return layout;
}

}  // namespace cotalys
