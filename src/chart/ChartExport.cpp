#include "chart/ChartExport.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <filesystem>

#include "core/Exceptions.h"
#include "core/Files.h"
#include "core/Formatting.h"

namespace cotalys {

namespace {

// 96 dots per inch, so point sizes give the same pixels whatever screen the machine has.
constexpr int DotsPerMeter = 3780;

QImage RenderImage(const TChartScene& AScene, int AWidth, int AHeight, const QFont& AFont) {
    QImage image(AWidth, AHeight, QImage::Format_RGB888);
    if (AWidth < 1 || AHeight < 1 || image.isNull()) {
        throw EFinanceError(Format("Taille d'image invalide : %dx%d", AWidth, AHeight));
    }
    image.setDotsPerMeterX(DotsPerMeter);
    image.setDotsPerMeterY(DotsPerMeter);
    QPainter painter(&image);
    RenderChart(painter, AScene, AWidth, AHeight, AFont);
    return image;
}

std::string EncodePng(const QImage& AImage) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!AImage.save(&buffer, "PNG")) {
        throw EFinanceError("Encodage PNG impossible");
    }
    return bytes.toStdString();
}

}  // namespace

void SaveChartToPng(TChartScene AScene, const std::string& AFileName, int AWidth, int AHeight,
                    const QFont& AFont) {
    if (!AScene.HasData()) {
        throw EFinanceError("Rien a exporter : aucune donnee");
    }
    AScene.HoverIndex = -1;
    const std::string png = EncodePng(RenderImage(AScene, AWidth, AHeight, AFont));
    WriteFileAtomically(std::filesystem::path(AFileName), png);
}

}  // namespace cotalys
