#pragma once

#include <QFont>
#include <QImage>
#include <string>

#include "chart/ChartRender.h"
#include "chart/ChartScene.h"

namespace cotalys {

// Size of an exported chart unless asked otherwise.
inline constexpr int ChartPngWidth = 1600;
inline constexpr int ChartPngHeight = 1000;

// A blank AWidth x AHeight 24-bit RGB image of 96 dots per inch, for drawings exported as PNG.
// Throws EFinanceError "Taille d'image invalide : WxH" for a size the image cannot have.
QImage BlankPngImage(int AWidth, int AHeight);

// AScene drawn at AWidth x AHeight on a 24-bit RGB image of 96 dots per inch, so point sizes
// give the same pixels on any machine. Throws EFinanceError "Taille d'image invalide : WxH" for
// a size the image cannot have.
QImage RenderChartImage(const TChartScene& AScene, int AWidth, int AHeight, const QFont& AFont);

// AImage as PNG bytes (24-bit RGB for an RGB image); EFinanceError when encoding fails.
std::string EncodePng(const QImage& AImage);

// Renders AScene at AWidth x AHeight pixels into a 24-bit RGB PNG (no alpha) written to
// AFileName through a temporary file, so a failed write never leaves half an image. The export
// shows the scene's bars but never the crosshair or its read-out: its top line is the signal
// summary. Needs a QGuiApplication.
// Throws EFinanceError "Rien a exporter : aucune donnee" without data, "Taille d'image
// invalide : WxH" for a size the image cannot have, and the write's own error.
void SaveChartToPng(TChartScene AScene, const std::string& AFileName, int AWidth, int AHeight,
                    const QFont& AFont = ChartFont());

}  // namespace cotalys
