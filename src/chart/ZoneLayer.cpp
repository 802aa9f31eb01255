#include <algorithm>

#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"
#include "chart/ChartTexts.h"

namespace cotalys {

namespace palette = chart_palette;

namespace {

struct TZoneColors {
    TColor Fill;
    TColor Border;
};

// A zone holding the close is drawn as the support it is treated as.
TZoneColors ColorsOf(const TPriceZone& AZone) {
    if (AZone.Kind == TZoneKind::zkResistance) {
        return {palette::ResistanceFill, palette::ResistanceBorder};
    }
    return {palette::SupportFill, palette::SupportBorder};
}

void DrawBand(const TChartPainter& AP, const TPixelRect& ABand, const TZoneColors& AColors) {
    AP.Canvas.FillRect(ABand, AColors.Fill);
    for (int y : {ABand.Top, ABand.Bottom}) {
        AP.Canvas.Line(ABand.Left, y, ABand.Right, y, AColors.Border, TLineStyle::lsDotted);
    }
}

// The label in a white box against the panel's right edge, centred on the band.
void DrawZoneLabel(const TChartPainter& AP, const TPriceZone& AZone, const TPixelRect& ABand,
                   const TZoneColors& AColors) {
    const std::string text = ZoneLabelText(AZone, AP.FS);
    const int textWidth = AP.Canvas.TextWidth(text);
    const int textHeight = AP.Canvas.TextHeight();
    const int right = AP.Panel(TPanelKind::pkPrice).Rect.Right;
    const TPixelRect box = {right - textWidth - 10, (ABand.Top + ABand.Bottom - textHeight) / 2 - 1,
                            right - 3, (ABand.Top + ABand.Bottom + textHeight) / 2 + 1};
    AP.Canvas.FilledRectangle(box, AColors.Border, palette::White);
    AP.Canvas.TextOut(box.Left + 4, box.Top + 1, text, AColors.Border);
}

}  // namespace

void DrawZones(const TChartPainter& AP, bool ALabelPass) {
    if (AP.Scene.Zones.empty()) {
        return;
    }
    const TChartPanel& panel = AP.Panel(TPanelKind::pkPrice);
    const TPixelRect& r = panel.Rect;
    AP.Canvas.SetClip({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
    AP.Canvas.SetFontSize(8);
    for (const TPriceZone& zone : AP.Scene.Zones) {
        if (zone.Top < panel.MinValue || zone.Bottom > panel.MaxValue) {
            continue;
        }
        // The band starts at the zone's first touch, or at the left of the window.
        const int x0 =
            AP.Axis.IndexToX(std::max(AP.Scene.First, zone.FirstTouchIndex)) - AP.HalfBar();
        const int y1 = panel.ValueToY(zone.Top);
        // At least 2 pixels high, so a thin zone stays visible.
        const int y2 = std::max(panel.ValueToY(zone.Bottom), y1 + 2);
        const TPixelRect band = {x0, y1, r.Right - 1, y2};
        if (ALabelPass) {
            DrawZoneLabel(AP, zone, band, ColorsOf(zone));
        } else {
            DrawBand(AP, band, ColorsOf(zone));
        }
    }
    AP.Canvas.RemoveClip();
}

}  // namespace cotalys
