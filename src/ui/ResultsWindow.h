#pragma once

#include <QString>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace cotalys {

// What the scanner and backtest results windows share: they open centred on the window that
// started them, show an info line above their content, and open their CSV detail file with the
// desktop's application for CSV files.

// Centres AWindow, already sized, on AOwner (when there is one).
void CentreOnOwner(QWidget* AWindow, const QWidget* AOwner);

// The layout of a results window: a column from edge to edge whose first row is a strip where
// the info line takes the free width; the window adds its buttons to Buttons, left to right,
// and its content to Column.
struct TResultsLayout {
    QVBoxLayout* Column = nullptr;
    QLabel* Info = nullptr;
    QHBoxLayout* Buttons = nullptr;
};

// Gives AWindow that layout.
TResultsLayout BuildResultsLayout(QWidget* AWindow);

// The "Ouvrir le CSV" button, disabled until the window has a file to open.
QPushButton* NewOpenCsvButton(QWidget* AParent, const QString& AToolTip);

// Opens AFile with the desktop's application, or says in a warning box that it cannot.
void OpenWithDesktop(QWidget* AParent, const QString& AFile);

}  // namespace cotalys
