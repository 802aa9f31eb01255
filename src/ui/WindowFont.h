#pragma once

class QWidget;

namespace cotalys {

// Maps "Segoe UI" and "Consolas" to installed faces, once, before the first window is built.
void InstallFontSubstitutes();

// Gives a window the interface font, "Segoe UI" 9 points.
void ApplyWindowFont(QWidget* AWidget);

// Gives a text box the fixed-pitch font "Consolas", same size as the window's.
void ApplyLogFont(QWidget* AWidget);

// Factor from a length designed at 96 dots per inch to this widget's screen.
double ScreenScale(const QWidget* AWidget);

// AValue pixels at 96 dots per inch, scaled to the widget's screen and rounded.
int Scaled(const QWidget* AWidget, int AValue);

}  // namespace cotalys
