#pragma once

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "chart/ChartDrawing.h"
#include "chart/ChartView.h"
#include "support/AnalysisTestSupport.h"

namespace cotalys::test {

// A series with its MACD/RSI analysis and volume colours, computed once and kept in place (the
// analysis references the series).
struct TAnalysedSeries {
    explicit TAnalysedSeries(TPriceSeries ASeries)
        : Series(std::move(ASeries)), Analysis(&Series, TMACDParams::Default(), 14), Colorizer(20) {
        Analysis.Compute();
        Colorizer.Compute(Series);
    }
    TAnalysedSeries(const TAnalysedSeries&) = delete;
    TAnalysedSeries& operator=(const TAnalysedSeries&) = delete;

    // The chart scene of the series from its first bar on or after AFrom.
    TChartScene Scene(TDateTime AFrom = 0) const {
        return TChartScene::Of(Series, Analysis, Colorizer, AFrom);
    }

    TPriceSeries Series;
    TTechnicalAnalysis Analysis;
    TVolumeColorizer Colorizer;
};

// ACount daily bars from 2 January 2025 swinging gently around 105, with varying volume.
inline TPriceSeries WaveSeries(int ACount = 60) {
    std::vector<TBarSpec> bars;
    double previous = 105;
    for (int i = 0; i < ACount; ++i) {
        const double close = 105 + 3 * std::sin(i / 5.0);
        bars.push_back({previous, std::max(previous, close) + 1, std::min(previous, close) - 1,
                        close, 1000 + 150 * (i % 7)});
        previous = close;
    }
    return SeriesFromBars(bars);
}

// A zone of AKind between ABottom and ATop.
inline TPriceZone MakeZone(TZoneKind AKind, double ABottom, double ATop, int ARank,
                           int AFirstTouchIndex = 0, int ATouches = 2) {
    TPriceZone zone;
    zone.Kind = AKind;
    zone.Bottom = ABottom;
    zone.Top = ATop;
    zone.Rank = ARank;
    zone.FirstTouchIndex = AFirstTouchIndex;
    zone.Touches = ATouches;
    return zone;
}

// The drawing state of a rendering of AScene at AWidth x AHeight, on a device of the export's
// resolution, to ask where the chart puts things.
class TChartProbe {
public:
    TChartProbe(const TChartScene& AScene, int AWidth, int AHeight)
        : FDevice(Device()),
          FPainter(&FDevice),
          FCanvas(FPainter, ChartFont()),
          FLayout(BuildChartLayout(AScene, AWidth, AHeight)),
          FChart{FCanvas, AScene, FLayout, TimeAxisOf(FLayout, AScene), FrenchFormatSettings(),
                 AWidth,  AHeight} {}

    const TChartPainter& Chart() const { return FChart; }

private:
    static QImage Device() { return RenderChartImage(TChartScene{}, 1, 1, ChartFont()); }

    QImage FDevice;
    QPainter FPainter;
    TChartCanvas FCanvas;
    TChartLayout FLayout;
    TChartPainter FChart;
};

// The colour of one pixel as a TColor.
inline TColor PixelAt(const QImage& AImage, int AX, int AY) {
    const QRgb rgb = AImage.pixel(AX, AY);
    return ColorFromRGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

// Whether some pixel of ARect in AImage has AColor.
inline bool Holds(const QImage& AImage, const TPixelRect& ARect, TColor AColor) {
    for (int y = ARect.Top; y < ARect.Bottom; ++y) {
        for (int x = ARect.Left; x < ARect.Right; ++x) {
            if (PixelAt(AImage, x, y) == AColor) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace cotalys::test
