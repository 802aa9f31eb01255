#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "ChartTestSupport.h"
#include "DemoChart.h"
#include "chart/ChartPalette.h"
#include "chart/ChartScales.h"
#include "chart/ChartTexts.h"
#include "support/TestSupport.h"

namespace cotalys::test {
namespace {

namespace palette = chart_palette;

constexpr int Width = 1600;
constexpr int Height = 1000;

// Reads a PNG file's header: size, bit depth and colour type (2 = RGB without alpha).
struct TPngHeader {
    int Width = 0;
    int Height = 0;
    int BitDepth = 0;
    int ColorType = 0;
};

TPngHeader ReadPngHeader(const std::string& ABytes) {
    EXPECT_EQ(ABytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(ABytes.substr(12, 4), "IHDR");
    const auto byte = [&ABytes](std::size_t AAt) {
        return static_cast<unsigned char>(ABytes[AAt]);
    };
    const auto big32 = [&byte](std::size_t AAt) {
        return (byte(AAt) << 24) | (byte(AAt + 1) << 16) | (byte(AAt + 2) << 8) | byte(AAt + 3);
    };
    return {big32(16), big32(20), byte(24), byte(25)};
}

// A gently swinging series with a support below it, a resistance above it, and signals on
// two bars: one complete, one partial.
struct TExportFixture {
    TExportFixture() : Data(WaveSeries()) {
        Scene = Data.Scene();
        Scene.Zones = {MakeZone(TZoneKind::zkSupport, 90, 95, 1, 5),
                       MakeZone(TZoneKind::zkResistance, 115, 120, 1, 5)};
        TEntrySignal complete;
        complete.Index = 15;
        complete.Score = 4;
        TEntrySignal partial;
        partial.Index = 45;
        partial.Score = 3;
        Scene.Signals = {complete, partial};
        Layout = BuildChartLayout(Scene, Width, Height);
        Axis = TimeAxisOf(Layout, Scene);
    }

    const TChartPanel& Panel(TPanelKind AKind) const { return Layout.Panel(AKind); }
    // The first pixel row inside a signal's arrow, under its bar's low.
    int ArrowY(int AIndex) const {
        return Panel(TPanelKind::pkPrice).ValueToY(Data.Series[AIndex].Low) + 4 + 5;
    }

    TAnalysedSeries Data;
    TChartScene Scene;
    TChartLayout Layout;
    TTimeAxis Axis;
};

TEST(ChartExportTest, WritesA24BitRGBImageOfTheRequestedSize) {
    const TExportFixture f;
    const TempDir dir;
    const std::string file = (dir.Path() / "sous-dossier" / "chart.png").string();
    SaveChartToPng(f.Scene, file, Width, Height);

    const std::string bytes = ReadAll(file);
    const TPngHeader header = ReadPngHeader(bytes);
    EXPECT_EQ(header.Width, Width);
    EXPECT_EQ(header.Height, Height);
    EXPECT_EQ(header.BitDepth, 8);
    EXPECT_EQ(header.ColorType, 2);
    const QImage image = QImage::fromData(QByteArray::fromStdString(bytes), "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_FALSE(image.hasAlphaChannel());
    EXPECT_EQ(image.size(), QSize(Width, Height));
}

TEST(ChartExportTest, AnExportCutShortKeepsThePreviousImage) {
    const TExportFixture f;
    const TempDir dir;
    const std::string file = dir.Write("chart.png", "image precedente").string();
    {
        const FileSizeLimit diskFull(1000);
        EXPECT_THROW(SaveChartToPng(f.Scene, file, Width, Height), EFinanceError);
    }
    EXPECT_EQ(ReadAll(file), "image precedente");
}

TEST(ChartExportTest, ColoursTheBandsArrowsAndRSIBandAsFixed) {
    const TExportFixture f;
    const TempDir dir;
    const std::string file = (dir.Path() / "chart.png").string();
    SaveChartToPng(f.Scene, file, Width, Height);
    const QImage image(QString::fromStdString(file));
    ASSERT_FALSE(image.isNull());

    const TChartPanel& price = f.Panel(TPanelKind::pkPrice);
    const TChartPanel& rsi = f.Panel(TPanelKind::pkRSI);
    const int x = f.Axis.IndexToX(20);  // away from month separators and labels
    struct TCase {
        const char* What;
        int X, Y;
        TColor Color;
    };
    for (const TCase& c : {
             TCase{"background", 2, 2, palette::Background},
             TCase{"background", Width - 1, Height - 1, palette::Background},
             TCase{"support band", x, price.ValueToY(92.25), palette::SupportFill},
             TCase{"resistance band", x, price.ValueToY(117.75), palette::ResistanceFill},
             TCase{"complete signal", f.Axis.IndexToX(15), f.ArrowY(15), palette::CompleteSignal},
             TCase{"partial signal", f.Axis.IndexToX(45), f.ArrowY(45), palette::PartialSignal},
             TCase{"RSI band", x, rsi.ValueToY(62.5), palette::RSIBand},
             TCase{"panel border", x, price.Rect.Top, palette::PanelBorder},
         }) {
        EXPECT_EQ(PixelAt(image, c.X, c.Y), c.Color) << c.What << " at " << c.X << "," << c.Y;
    }
    // The support band starts at the zone's first touch, half a bar left of it.
    const int bandStart = f.Axis.IndexToX(5) - f.Axis.BarWidth() / 2;
    EXPECT_EQ(PixelAt(image, bandStart - 2, price.ValueToY(92.25)), palette::Background);
}

// Pixels of AColor inside ARect.
int CountPixels(const QImage& AImage, const TPixelRect& ARect, TColor AColor) {
    int count = 0;
    for (int y = ARect.Top; y < ARect.Bottom; ++y) {
        for (int x = ARect.Left; x < ARect.Right; ++x) {
            count += PixelAt(AImage, x, y) == AColor ? 1 : 0;
        }
    }
    return count;
}

TEST(ChartExportTest, DrawsARealHistoryWithItsZonesAndSignals) {
    const TDemoChart chart("AI.PA");
    ASSERT_FALSE(chart.Scene.Zones.empty());
    ASSERT_FALSE(chart.Scene.Signals.empty());
    const TempDir dir;
    const std::string file = (dir.Path() / "AI.PA.png").string();
    SaveChartToPng(chart.Scene, file, Width, Height);
    const QImage image(QString::fromStdString(file));
    ASSERT_EQ(image.size(), QSize(Width, Height));

    const TChartLayout layout = BuildChartLayout(chart.Scene, Width, Height);
    const TChartPanel& price = layout.Panel(TPanelKind::pkPrice);
    const int last = chart.Series.Count() - 1;
    // The last close's tag, right of its text, in the last bar's outline colour.
    EXPECT_EQ(PixelAt(image, price.Rect.Right + 62, price.ValueToY(chart.Series[last].Close) - 6),
              chart.Colorizer.OutlineColor(last));
    EXPECT_GT(CountPixels(image, price.Rect, palette::SupportFill), 0);
    EXPECT_GT(CountPixels(image, price.Rect, palette::CompleteSignal) +
                  CountPixels(image, price.Rect, palette::PartialSignal),
              0);
    EXPECT_GT(CountPixels(image, layout.Panel(TPanelKind::pkRSI).Rect, palette::RSIBand), 0);
}

TEST(ChartExportTest, RefusesToExportNothingOrAnImpossibleSize) {
    const TempDir dir;
    const std::string file = (dir.Path() / "chart.png").string();
    struct TCase {
        bool WithData;
        int Width, Height;
        const char* Message;
    };
    const TExportFixture f;
    for (const TCase& c : {TCase{false, Width, Height, "Rien a exporter : aucune donnee"},
                           TCase{true, 0, Height, "Taille d'image invalide : 0x1000"},
                           TCase{true, Width, -5, "Taille d'image invalide : 1600x-5"}}) {
        try {
            SaveChartToPng(c.WithData ? f.Scene : TChartScene{}, file, c.Width, c.Height);
            ADD_FAILURE() << "no EFinanceError: " << c.Message;
        } catch (const EFinanceError& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(file));
}

// The crosshair's column in the gap between the price and volume panels.
bool GapHasCrosshair(const QImage& AImage, const TChartLayout& ALayout, int AX) {
    for (int y = ALayout.Panel(TPanelKind::pkPrice).Rect.Bottom;
         y < ALayout.Panel(TPanelKind::pkVolume).Rect.Top; ++y) {
        if (PixelAt(AImage, AX, y) == palette::Crosshair) {
            return true;
        }
    }
    return false;
}

TEST(StockChartViewExportTest, ExportHasNoCrosshairAndTheHoverStays) {
    const TExportFixture f;
    TStockChartView view;
    view.resize(Width, Height);
    view.SetData(&f.Data.Series, &f.Data.Analysis, &f.Data.Colorizer, 0);
    view.SetZones(f.Scene.Zones);
    view.SetSignals(f.Scene.Signals);
    const QPointF at(f.Axis.IndexToX(30), 400);
    QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
    ASSERT_EQ(view.Scene().HoverIndex, 30);

    QImage screen(Width, Height, QImage::Format_RGB32);
    {
        QPainter painter(&screen);
        view.Render(painter, Width, Height);
    }
    EXPECT_TRUE(GapHasCrosshair(screen, f.Layout, f.Axis.IndexToX(30)));

    const TempDir dir;
    const std::string file = (dir.Path() / "chart.png").string();
    view.SaveToPng(file, Width, Height);
    const QImage exported(QString::fromStdString(file));
    ASSERT_FALSE(exported.isNull());
    EXPECT_FALSE(GapHasCrosshair(exported, f.Layout, f.Axis.IndexToX(30)));
    EXPECT_EQ(view.Scene().HoverIndex, 30);

    // A failed write reports the error and leaves the hover as it was.
    const std::string blocked = (dir.Path() / "chart.png" / "chart.png").string();
    EXPECT_THROW(view.SaveToPng(blocked, Width, Height), EFinanceError);
    EXPECT_EQ(view.Scene().HoverIndex, 30);
}

// Renders AScene at AWidth x AHeight on a white-filled image.
QImage Rendered(const TChartScene& AScene, int AWidth, int AHeight) {
    QImage image(AWidth, AHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    RenderChart(painter, AScene, AWidth, AHeight, ChartFont());
    return image;
}

TEST(ChartRenderTest, TooSmallAreaShowsItsMessageInsteadOfTheChart) {
    const TExportFixture f;
    TChartScene message;
    message.Message = "Zone trop petite";
    const QImage tooLow = Rendered(f.Scene, 800, 199);
    EXPECT_EQ(tooLow, Rendered(message, 800, 199));
    // The message is really written: some pixels are not background.
    EXPECT_NE(tooLow, Rendered(TChartScene{}, 800, 199));
}

// Non-background pixels inside ARect.
int InkedPixels(const QImage& AImage, const TPixelRect& ARect) {
    return ARect.Width() * ARect.Height() - CountPixels(AImage, ARect, palette::Background);
}

TEST(ChartRenderTest, ZonesOutsideTheScaleVanishAndThinOnesKeepTwoRows) {
    const TAnalysedSeries data(WaveSeries());
    TChartScene scene = data.Scene();
    scene.Zones = {MakeZone(TZoneKind::zkResistance, 300, 310, 2, 0),
                   MakeZone(TZoneKind::zkSupport, 103, 103, 2, 0)};
    const TChartLayout layout = BuildChartLayout(scene, Width, Height);
    const TChartPanel& price = layout.Panel(TPanelKind::pkPrice);
    const QImage image = Rendered(scene, Width, Height);
    EXPECT_EQ(CountPixels(image, price.Rect, palette::ResistanceFill), 0);
    EXPECT_EQ(CountPixels(image, price.Rect, palette::ResistanceBorder), 0);
    const int y = price.ValueToY(103);
    EXPECT_GT(
        CountPixels(image, {price.Rect.Left, y + 1, price.Rect.Right, y + 2}, palette::SupportFill),
        0);
    EXPECT_EQ(
        CountPixels(image, {price.Rect.Left, y + 3, price.Rect.Right, y + 4}, palette::SupportFill),
        0);
}

TEST(ChartRenderTest, AZoneFirstTouchedAfterTheShownBarsIsNotDrawn) {
    const TAnalysedSeries data(WaveSeries());
    TChartScene scene = data.Scene();
    scene.Last = 30;
    scene.Zones = {MakeZone(TZoneKind::zkResistance, 106, 107, 1, 31),
                   MakeZone(TZoneKind::zkSupport, 103, 104, 1, 30)};
    const TPixelRect price = BuildChartLayout(scene, Width, Height).Panel(TPanelKind::pkPrice).Rect;
    const QImage image = Rendered(scene, Width, Height);
    EXPECT_EQ(CountPixels(image, price, palette::ResistanceFill), 0);
    EXPECT_EQ(CountPixels(image, price, palette::ResistanceBorder), 0);
    EXPECT_GT(CountPixels(image, price, palette::SupportFill), 0);
}

TEST(ChartRenderTest, SeriesWithoutVolumeSaysSoInsteadOfDrawingBars) {
    const TAnalysedSeries data(SeriesFromCloses(std::vector<double>(60, 50.0), 0));
    const TChartScene scene = data.Scene();
    const TPixelRect r = BuildChartLayout(scene, Width, Height).Panel(TPanelKind::pkVolume).Rect;
    const QImage image = Rendered(scene, Width, Height);
    // The message follows the "Volume" title on its line.
    EXPECT_GT(InkedPixels(image, {r.Left + 60, r.Top + 2, r.Left + 300, r.Top + 20}), 0);
    // Below the title line, only the background, the grid and the month separators remain.
    const TPixelRect below = {r.Left + 1, r.Top + 30, r.Right - 1, r.Bottom - 1};
    EXPECT_EQ(
        CountPixels(image, below, palette::Background) + CountPixels(image, below, palette::Grid),
        below.Width() * below.Height());
}

TEST(ChartRenderTest, CrowdedMonthLabelIsSkippedButItsSeparatorStays) {
    // January, then three February sessions, then March: two month starts 3 bars apart.
    TPriceSeries series("TEST.PA");
    for (int i = 0; i < 40; ++i) {
        const TDateTime day = i < 20   ? EncodeDate(2025, 1, 2 + i)
                              : i < 23 ? EncodeDate(2025, 2, i - 19)
                                       : EncodeDate(2025, 3, i - 22);
        series.Add(TPriceBar::New(day, 100, 101 + i % 3, 99, 100 + i % 2, 1000));
    }
    const TAnalysedSeries data(std::move(series));
    const TChartScene scene = data.Scene();
    const int width = 300;
    const int height = 400;
    const QImage image = Rendered(scene, width, height);
    const TChartLayout layout = BuildChartLayout(scene, width, height);
    const TTimeAxis axis = TimeAxisOf(layout, scene);
    const int february = axis.IndexToX(20);
    const int march = axis.IndexToX(23);

    QFont font = ChartFont();
    font.setPointSize(8);
    const QFontMetrics metrics(font, &image);
    const int halfWidth = metrics.horizontalAdvance("mars 25") / 2;
    const int labelTop = layout.Plot.Bottom + 3;
    const int labelBottom = labelTop + metrics.height();
    const int februaryRight =
        february + metrics.horizontalAdvance(QString::fromUtf8("févr. 25")) / 2;
    EXPECT_GT(InkedPixels(image, {february - 5, labelTop, february + 5, labelBottom}), 0);
    EXPECT_EQ(InkedPixels(image, {februaryRight + 2, labelTop, march + halfWidth, labelBottom}), 0);
    const TPixelRect& rsi = layout.Panel(TPanelKind::pkRSI).Rect;
    for (int x : {february, march}) {
        EXPECT_GT(CountPixels(image, {x, rsi.Top + 1, x + 1, rsi.Bottom - 1}, palette::Grid), 0)
            << x;
    }
}

}  // namespace
}  // namespace cotalys::test
