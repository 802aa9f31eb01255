#include <algorithm>

#include "chart/ChartDrawing.h"
#include "chart/ChartPalette.h"

namespace cotalys {

namespace palette = chart_palette;

namespace {

// Pixels kept clear around a title line.
constexpr int TitleMargin = 2;

struct TTitlePiece {
    int X = 0;
    int Y = 0;
    std::string Text;
    TColor Color = 0;
};

// Where the title is written, left-aligned and cut with an ellipsis when too long.
TPixelRect TitleRect(const TChartPainter& AP, const TChartPanel& APanel) {
    const TPixelRect& r = APanel.Rect;
    return {r.Left + 6, r.Top + 2, r.Right - 6, r.Top + 2 + AP.Canvas.TextHeight() + 2};
}

// What the title line holds after the title: the MACD legend in the lines' colours, the note of
// a series without volume, and the RSI title once more, a pixel lower, so the band never thins
// it.
std::vector<TTitlePiece> TitleExtras(const TChartPainter& AP, TPanelKind AKind) {
    const TChartPanel& panel = AP.Panel(AKind);
    const int left = panel.Rect.Left;
    const int top = panel.Rect.Top + 3;
    switch (AKind) {
        case TPanelKind::pkVolume:
            if (AP.Scene.Colorizer->HasVolume()) {
                return {};
            }
            return {{left + AP.Canvas.TextWidth(panel.Title + "MM") + 6, top,
                     "(volumes indisponibles pour cette source)", palette::Label}};
        case TPanelKind::pkMACD: {
            const int macd =
                left + AP.Canvas.TextWidth(panel.Title) + 6 + AP.Canvas.TextWidth("MM");
            const int signal = macd + AP.Canvas.TextWidth("MACD") + AP.Canvas.TextWidth("M");
            return {{macd, top, "MACD", palette::MACDLine},
                    {signal, top, "Signal", palette::SignalLine}};
        }
        case TPanelKind::pkRSI:
            return {{left + 6, top, panel.Title, palette::Label}};
        case TPanelKind::pkPrice:
            break;
    }
    return {};
}

}  // namespace

std::vector<TPixelRect> TitleBoxes(const TChartPainter& AP) {
    AP.Canvas.SetFontSize(8);
    const int textHeight = AP.Canvas.TextHeight();
    std::vector<TPixelRect> boxes;
    for (const TPanelKind panelKind : PanelKinds) {
        const TChartPanel& panel = AP.Panel(panelKind);
        const TPixelRect title = TitleRect(AP, panel);
        int right = title.Left + std::min(AP.Canvas.TextWidth(panel.Title), title.Width());
        int bottom = title.Top + textHeight;
        for (const TTitlePiece& piece : TitleExtras(AP, panelKind)) {
            right = std::max(right, piece.X + AP.Canvas.TextWidth(piece.Text));
            bottom = std::max(bottom, piece.Y + textHeight);
        }
        boxes.push_back({title.Left - TitleMargin, panel.Rect.Top + 1,
                         std::min(right + TitleMargin, panel.Rect.Right - 1), bottom + 1});
    }
    return boxes;
}

void DrawPanelTitles(const TChartPainter& AP) {
    AP.Canvas.SetFontSize(8);
    for (const TPanelKind panelKind : PanelKinds) {
        const TChartPanel& panel = AP.Panel(panelKind);
        if (!panel.Title.empty()) {
            AP.Canvas.TextInRect(TitleRect(AP, panel), panel.Title, palette::Label,
                                 TTextPlacement::tpTopLeft);
        }
        for (const TTitlePiece& piece : TitleExtras(AP, panelKind)) {
            AP.Canvas.TextOut(piece.X, piece.Y, piece.Text, piece.Color);
        }
    }
}

}  // namespace cotalys
