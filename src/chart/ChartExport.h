#pragma once

#include <QFont>
#include <string>

#include "chart/ChartRender.h"
#include "chart/ChartScene.h"

namespace cotalys {

// Renders AScene at AWidth x AHeight pixels into a 24-bit RGB PNG (no alpha) written to
// AFileName through a temporary file, so a failed write never leaves half an image. The export
// never shows the crosshair: its top line is the signal summary. Needs a QGuiApplication.
// Throws EFinanceError "Rien a exporter : aucune donnee" without data, "Taille d'image
// invalide : WxH" for a size the image cannot have, and the write's own error.
void SaveChartToPng(TChartScene AScene, const std::string& AFileName, int AWidth, int AHeight,
                    const QFont& AFont = ChartFont());

}  // namespace cotalys
