#include "ui/FocusMark.h"

#include <QEvent>
#include <QPainter>
#include <QPen>

namespace cotalys {

namespace {

constexpr int MarkWidth = 2;

}  // namespace

TFocusMark::TFocusMark(QWidget* ATarget) : QWidget(ATarget) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(ATarget->rect());
    setVisible(ATarget->hasFocus());
    ATarget->installEventFilter(this);
}

bool TFocusMark::eventFilter(QObject* AWatched, QEvent* AEvent) {
    auto* target = static_cast<QWidget*>(AWatched);
    switch (AEvent->type()) {
        case QEvent::Resize:
            setGeometry(target->rect());
            break;
        case QEvent::FocusIn:
            setGeometry(target->rect());
            show();
            raise();
            break;
        case QEvent::FocusOut:
            hide();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(AWatched, AEvent);
}

void TFocusMark::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight), MarkWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(MarkWidth / 2, MarkWidth / 2, -MarkWidth / 2, -MarkWidth / 2));
}

}  // namespace cotalys
