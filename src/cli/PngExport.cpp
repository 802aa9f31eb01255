#include "cli/PngExport.h"

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#include "chart/ChartView.h"

namespace cotalys {

void ExportChartPng(const TSymbolReview& AReview, const std::string& AFileName) {
    // Drawing needs a GUI application; without a display the off-screen platform serves.
    std::unique_ptr<QGuiApplication> application;
    if (QGuiApplication::instance() == nullptr) {
        if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
        }
        static int argc = 1;
        static char name[] = "cotalys";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    TChartScene scene = TChartScene::Of(AReview.Series(), AReview.Analysis(), AReview.Colorizer(),
                                        AReview.Series().GetBar(AReview.First()).Date);
    scene.Zones = AReview.Zones();
    scene.Signals = AReview.Signals();
    SaveChartToPng(std::move(scene), AFileName, ChartPngWidth, ChartPngHeight);
}

}  // namespace cotalys
