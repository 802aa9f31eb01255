#include "chart/ChartExport.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <filesystem>

#include "core/Core.h"

namespace cotalys {

namespace {

// 96 dots per inch.
constexpr int DotsPerMeter = 3780;
// Qt turns a PNG quality q into the zlib level (100 - q) x 9 / 91: 80 gives level 1, which
// halves the encoding time of a chart for a file a fifth larger.
constexpr int PngQuality = 80;

}  // namespace

QImage BlankPngImage(int AWidth, int AHeight) {
    QImage image(AWidth, AHeight, QImage::Format_RGB888);
    if (AWidth < 1 || AHeight < 1 || image.isNull()) {
        throw EFinanceError(Format("Taille d'image invalide : %dx%d", AWidth, AHeight));
    }
    image.setDotsPerMeterX(DotsPerMeter);
    image.setDotsPerMeterY(DotsPerMeter);
    return image;
}

QImage RenderChartImage(const TChartScene& AScene, int AWidth, int AHeight, const QFont& AFont) {
    QImage image = BlankPngImage(AWidth, AHeight);
    QPainter painter(&image);
    RenderChart(painter, AScene, AWidth, AHeight, AFont);
    return image;
}

std::string EncodePng(const QImage& AImage) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!AImage.save(&buffer, "PNG", PngQuality)) {
        throw EFinanceError("Encodage PNG impossible");
    }
    return bytes.toStdString();
}

void SaveChartToPng(TChartScene AScene, const std::string& AFileName, int AWidth, int AHeight,
                    const QFont& AFont) {
    if (!AScene.HasData()) {
        throw EFinanceError("Rien a exporter : aucune donnee");
    }
    AScene.HoverIndex = -1;
    AScene.HoverY = -1;
    const std::string png = EncodePng(RenderChartImage(AScene, AWidth, AHeight, AFont));
    WriteFileAtomically(std::filesystem::path(AFileName), png);
}

}  // namespace cotalys
