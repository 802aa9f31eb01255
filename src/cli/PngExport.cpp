#include "cli/PngExport.h"

#include <QGuiApplication>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "chart/ChartView.h"

namespace cotalys {

namespace {

// The GUI application drawing needs, made here on the off-screen platform without a display;
// null when the program already has one.
std::unique_ptr<QGuiApplication> DrawingApplication() {
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
    return application;
}

}  // namespace

bool ParseImageSize(const std::string& AText, int& AWidth, int& AHeight) {
    const auto separator = AText.find_first_of("xX");
    if (separator == std::string::npos) {
        return false;
    }
    const auto readSide = [](std::string_view ASide, int& AValue) {
        const auto result = std::from_chars(ASide.data(), ASide.data() + ASide.size(), AValue);
        return result.ec == std::errc() && result.ptr == ASide.data() + ASide.size() &&
               AValue >= 1 && AValue <= 10000;
    };
    const std::string_view text(AText);
    return readSide(text.substr(0, separator), AWidth) &&
           readSide(text.substr(separator + 1), AHeight);
}

void ExportChartPng(const TSymbolReview& AReview, const std::string& AFileName, int AWidth,
                    int AHeight, TDateTime AFrom) {
    const TPriceSeries& series = AReview.Series();
    if (AFrom > series.GetBar(series.Count() - 1).Date) {
        throw EFinanceError("Aucune seance a partir du " +
                            FormatDateTime("dd/mm/yyyy", AFrom, FrenchFormatSettings()));
    }
    const std::unique_ptr<QGuiApplication> application = DrawingApplication();
    const TDateTime from = AFrom > 0 ? AFrom : series.GetBar(AReview.First()).Date;
    TChartScene scene = TChartScene::Of(series, AReview.Analysis(), AReview.Colorizer(), from);
    scene.Zones = AReview.Zones();
    scene.Signals = AReview.Signals();
    SaveChartToPng(std::move(scene), AFileName, AWidth, AHeight);
}

void ExportBacktestPng(const TBacktestFigures& AFigures, const std::string& AFileName) {
    const std::unique_ptr<QGuiApplication> application = DrawingApplication();
    SaveBacktestToPng(AFigures, AFileName, BacktestPngWidth, BacktestPngHeight);
}

std::string PortfolioPictureName(const std::string& AFileName) {
    const std::filesystem::path path(AFileName);
    return (path.parent_path() /
            (path.stem().string() + "_portefeuille" + path.extension().string()))
        .string();
}

void ExportPortfolioPng(const TPortfolioFigures& AFigures, const std::string& AFileName) {
    const std::unique_ptr<QGuiApplication> application = DrawingApplication();
    SavePortfolioToPng(AFigures, AFileName, BacktestPngWidth, BacktestPngHeight);
}

}  // namespace cotalys
