#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "signals/EntrySignals.h"

class QLabel;
class QTabWidget;
class QPushButton;

namespace cotalys {

// The non-modal window of a finished backtest, on two pages: the backtest's picture and the
// portfolio simulation's ("Portefeuille"), each redrawn at the window's size with a button that
// saves it as a 1600 x 1000 PNG, and a button that opens the detail CSV. Closing it only hides
// it; the next backtest shows it again.
class TBacktestResultsForm : public QWidget {
    Q_OBJECT

public:
    // Builds the window, owned by AOwner (the main window).
    explicit TBacktestResultsForm(QWidget* AOwner);

    // Shows AFigures and APortfolio; ACsvFile is the run's detail CSV, empty when it was not
    // written.
    void SetResults(const TBacktestFigures& AFigures, const TPortfolioFigures& APortfolio,
                    const std::string& ACsvFile);

    // Asks for a file name (the CSV's name with ".png" proposed, beside it) and saves the
    // backtest's picture there; an error box says why it could not be written.
    void SavePngClick();
    // The same for the portfolio's picture, "_portefeuille.png" proposed.
    void SavePortfolioPngClick();

    const TBacktestFigures& Figures() const { return FFigures; }
    const TPortfolioFigures& Portfolio() const { return FPortfolio; }
    // The information line: the CSV file, or where a picture was last saved.
    QString InfoText() const;
    // The widgets the pictures are drawn on.
    QWidget* Picture() const { return FPicture; }
    QWidget* PortfolioPicture() const { return FPortfolioPicture; }
    // The two pages: the backtest, then "Portefeuille".
    QTabWidget* Pages() const { return FPages; }

private:
    // Asks for a file name proposed as ASuffix after the CSV's stem and saves ASave's picture.
    void SavePicture(const std::string& ASuffix,
                     const std::function<void(const std::string&)>& ASave);

    TBacktestFigures FFigures;
    TPortfolioFigures FPortfolio;
    QString FCsvFile;
    QTabWidget* FPages = nullptr;
    QWidget* FPicture = nullptr;
    QWidget* FPortfolioPicture = nullptr;
    QLabel* FInfo = nullptr;
    QPushButton* FSavePng = nullptr;
    QPushButton* FOpenCsv = nullptr;
};

}  // namespace cotalys
