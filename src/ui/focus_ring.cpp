#include "ui/focus_ring.h"

#include <QApplication>
#include <QPainter>

namespace marnoq::ui {
namespace {

constexpr int kWidth = 2;
const QColor kRingColour(230, 230, 60);  // the olive of the window, lit

}  // namespace

FocusRing::FocusRing(QWidget* window) : QWidget(window) {
    setObjectName("focusRing");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusRing::follow(QWidget* focused) {
    QWidget* window = parentWidget();
    if (focused == nullptr || focused == window || !window->isAncestorOf(focused)) {
        hide();
        return;
    }
    const QRect box(focused->mapTo(window, QPoint(0, 0)), focused->size());
    setGeometry(box.adjusted(-kWidth - 1, -kWidth - 1, kWidth + 1, kWidth + 1));
    raise();
    show();
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(kRingColour, kWidth));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

}  // namespace marnoq::ui
