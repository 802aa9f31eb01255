#pragma once

#include <QWidget>

namespace cotalys {

// A frame in the highlight colour drawn over a widget while it has the keyboard focus, for
// widgets that paint all of their surface themselves (the chart). It lets every mouse event
// through and follows the widget's size.
class TFocusMark : public QWidget {
    Q_OBJECT

public:
    // Watches ATarget, whose child it becomes.
    explicit TFocusMark(QWidget* ATarget);

protected:
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;
    void paintEvent(QPaintEvent* AEvent) override;
};

}  // namespace cotalys
