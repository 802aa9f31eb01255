#include <algorithm>
#include <cstdlib>

#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"
#include "chart/ChartTexts.h"

namespace cotalys {

namespace palette = chart_palette;

namespace {

// Labels keep clear of the candles of this many last displayed sessions, the ones a trader reads
// first, and of every signal arrow shown.
constexpr int ClearSessions = 15;
// Pixels left between a label moved left and the data it makes way for.
constexpr int LabelGap = 2;

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

// Inside the price scale and touched before the last displayed bar.
bool IsShown(const TChartPainter& AP, const TPriceZone& AZone) {
    const TChartPanel& panel = AP.Panel(TPanelKind::pkPrice);
    return AZone.Top >= panel.MinValue && AZone.Bottom <= panel.MaxValue &&
           AZone.FirstTouchIndex <= AP.Last();
}

// From the zone's first touch, or the left of the window, to the panel's right edge; at least 2
// pixels high, so a thin zone stays visible.
TPixelRect BandOf(const TChartPainter& AP, const TPriceZone& AZone) {
    const TChartPanel& panel = AP.Panel(TPanelKind::pkPrice);
    const int x0 = AP.Axis.IndexToX(std::max(AP.Scene.First, AZone.FirstTouchIndex)) - AP.HalfBar();
    const int y1 = panel.ValueToY(AZone.Top);
    const int y2 = std::max(panel.ValueToY(AZone.Bottom), y1 + 2);
    return {x0, y1, panel.Rect.Right - 1, y2};
}

// Inside the panel's border: where bands are drawn and labels may go.
TPixelRect LabelArea(const TChartPainter& AP) {
    const TPixelRect& r = AP.Panel(TPanelKind::pkPrice).Rect;
    return {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
}

// What no label may cover.
std::vector<TPixelRect> ProtectedData(const TChartPainter& AP) {
    std::vector<TPixelRect> data;
    for (int i = std::max(AP.Scene.First, AP.Last() - ClearSessions + 1); i <= AP.Last(); ++i) {
        data.push_back(CandleOf(AP, i).Bounds());
    }
    for (const TEntrySignal& signal : AP.Scene.Signals) {
        if (IsDisplayed(AP, signal)) {
            data.push_back(ArrowOf(AP, signal).Bounds());
        }
    }
    return data;
}

// ABox moved left until it covers none of AData.
TPixelRect LeftOf(TPixelRect ABox, const std::vector<TPixelRect>& AData) {
    for (;;) {
        const auto hidden = std::find_if(AData.begin(), AData.end(), [&ABox](const TPixelRect& r) {
            return ABox.Intersects(r);
        });
        if (hidden == AData.end()) {
            return ABox;
        }
        ABox = ABox.Moved(hidden->Left - LabelGap - ABox.Right, 0);
    }
}

// Tops for a box that would sit at ATop: there, or just above or below a label already placed,
// nearest first.
std::vector<int> CandidateTops(int ATop, int AHeight, const std::vector<TZoneLabel>& APlaced) {
    std::vector<int> tops = {ATop};
    for (const TZoneLabel& label : APlaced) {
        tops.push_back(label.Box.Top - AHeight);
        tops.push_back(label.Box.Bottom);
    }
    std::stable_sort(tops.begin(), tops.end(), [ATop](int a, int b) {
        return std::abs(a - ATop) < std::abs(b - ATop) ||
               (std::abs(a - ATop) == std::abs(b - ATop) && a < b);
    });
    return tops;
}

// The box of AText on ABand, right-aligned against the panel edge and centred vertically.
TPixelRect NaturalBox(const TChartPainter& AP, const std::string& AText, const TPixelRect& ABand) {
    const int textWidth = AP.Canvas.TextWidth(AText);
    const int textHeight = AP.Canvas.TextHeight();
    const int right = AP.Panel(TPanelKind::pkPrice).Rect.Right;
    return {right - textWidth - 10, (ABand.Top + ABand.Bottom - textHeight) / 2 - 1, right - 3,
            (ABand.Top + ABand.Bottom + textHeight) / 2 + 1};
}

// AText's box nearest to its natural place that hides no data and overlaps no placed label.
bool Place(const TChartPainter& AP, const std::string& AText, const TPixelRect& ABand,
           const std::vector<TPixelRect>& AData, const std::vector<TZoneLabel>& APlaced,
           TPixelRect& ABox) {
    const TPixelRect area = LabelArea(AP);
    const TPixelRect natural = NaturalBox(AP, AText, ABand);
    for (int top : CandidateTops(natural.Top, natural.Height(), APlaced)) {
        const TPixelRect box = LeftOf(natural.Moved(0, top - natural.Top), AData);
        const bool free =
            std::none_of(APlaced.begin(), APlaced.end(),
                         [&box](const TZoneLabel& ALabel) { return box.Intersects(ALabel.Box); });
        if (free && area.Contains(box)) {
            ABox = box;
            return true;
        }
    }
    return false;
}

}  // namespace

void DrawZoneBands(const TChartPainter& AP) {
    AP.Canvas.SetClip(LabelArea(AP));
    for (const TPriceZone& zone : AP.Scene.Zones) {
        if (!IsShown(AP, zone)) {
            continue;
        }
        const TPixelRect band = BandOf(AP, zone);
        const TZoneColors colors = ColorsOf(zone);
        AP.Canvas.FillRect(band, colors.Fill);
        for (int y : {band.Top, band.Bottom}) {
            AP.Canvas.Line(band.Left, y, band.Right, y, colors.Border, TLineStyle::lsDotted);
        }
    }
    AP.Canvas.RemoveClip();
}

std::vector<TZoneLabel> PlaceZoneLabels(const TChartPainter& AP) {
    std::vector<const TPriceZone*> zones;
    for (const TPriceZone& zone : AP.Scene.Zones) {
        if (IsShown(AP, zone)) {
            zones.push_back(&zone);
        }
    }
    // The nearest support and resistance are placed first and move least.
    std::stable_sort(zones.begin(), zones.end(),
                     [](const TPriceZone* a, const TPriceZone* b) { return a->Rank < b->Rank; });
    AP.Canvas.SetFontSize(8);
    const std::vector<TPixelRect> data = ProtectedData(AP);
    std::vector<TZoneLabel> placed;
    for (const TPriceZone* zone : zones) {
        const TPixelRect band = BandOf(AP, *zone);
        // The whole label, else only the zone's name.
        for (const std::string& text : {ZoneLabelText(*zone, AP.FS), zone->Lab()}) {
            TPixelRect box;
            if (Place(AP, text, band, data, placed, box)) {
                placed.push_back({box, text, ColorsOf(*zone).Border});
                break;
            }
        }
    }
    return placed;
}

void DrawZoneLabels(const TChartPainter& AP) {
    AP.Canvas.SetFontSize(8);
    for (const TZoneLabel& label : PlaceZoneLabels(AP)) {
        AP.Canvas.FilledRectangle(label.Box, label.Color, palette::White);
        AP.Canvas.TextOut(label.Box.Left + 4, label.Box.Top + 1, label.Text, label.Color);
    }
}

}  // namespace cotalys
