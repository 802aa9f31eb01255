#pragma once

#include <QString>
#include <QWidget>
#include <string>

#include "signals/EntrySignals.h"

class QLabel;
class QPushButton;

namespace cotalys {

// The non-modal window of a finished backtest: its picture, redrawn at the window's size, a
// button that saves the picture as a 1600 x 1000 PNG and one that opens the detail CSV. Closing
// it only hides it; the next backtest shows it again.
class TBacktestResultsForm : public QWidget {
    Q_OBJECT

public:
    // Builds the window, owned by AOwner (the main window).
    explicit TBacktestResultsForm(QWidget* AOwner);

    // Shows AFigures; ACsvFile is the run's detail CSV, empty when it was not written.
    void SetResults(const TBacktestFigures& AFigures, const std::string& ACsvFile);

    // Asks for a file name (the CSV's name with ".png" proposed, beside it) and saves the
    // picture there; an error box says why it could not be written.
    void SavePngClick();

    const TBacktestFigures& Figures() const { return FFigures; }
    // The information line: the CSV file, or where the picture was last saved.
    QString InfoText() const;
    // The widget the picture is drawn on.
    QWidget* Picture() const { return FPicture; }

private:
    TBacktestFigures FFigures;
    QString FCsvFile;
    QWidget* FPicture = nullptr;
    QLabel* FInfo = nullptr;
    QPushButton* FSavePng = nullptr;
    QPushButton* FOpenCsv = nullptr;
};

}  // namespace cotalys
