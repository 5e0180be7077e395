#include "ui/icons.h"

#include <QPainter>
#include <QPainterPath>

namespace marnoq::ui {
namespace {

const QColor kOlive(128, 128, 0);
const QColor kGold(214, 182, 64);
const QColor kDark(40, 40, 40);

void drawLock(QPainter& p, double s, bool open) {
    QPen shackle(QColor(170, 170, 170), s * 0.1, Qt::SolidLine, Qt::RoundCap);
    p.setPen(shackle);
    p.setBrush(Qt::NoBrush);
    const double lift = open ? s * 0.14 : 0.0;
    QRectF arc(s * 0.28, s * 0.08 - lift, s * 0.44, s * 0.48);
    p.drawArc(arc, 0, 180 * 16);
    p.drawLine(QPointF(s * 0.28, s * 0.32 - lift), QPointF(s * 0.28, s * 0.46));
    if (!open) {
        p.drawLine(QPointF(s * 0.72, s * 0.32), QPointF(s * 0.72, s * 0.46));
    }
    p.setPen(QPen(kDark, s * 0.03));
    p.setBrush(kGold);
    p.drawRoundedRect(QRectF(s * 0.16, s * 0.44, s * 0.68, s * 0.48), s * 0.06, s * 0.06);
    p.setBrush(kDark);
    p.drawEllipse(QPointF(s * 0.5, s * 0.62), s * 0.06, s * 0.06);
    p.drawRect(QRectF(s * 0.47, s * 0.64, s * 0.06, s * 0.14));
}

void drawFolder(QPainter& p, double s) {
    p.setPen(QPen(kDark, s * 0.05));
    p.setBrush(QColor(236, 196, 90));
    QPainterPath path;
    path.moveTo(s * 0.08, s * 0.25);
    path.lineTo(s * 0.4, s * 0.25);
    path.lineTo(s * 0.48, s * 0.35);
    path.lineTo(s * 0.92, s * 0.35);
    path.lineTo(s * 0.92, s * 0.85);
    path.lineTo(s * 0.08, s * 0.85);
    path.closeSubpath();
    p.drawPath(path);
}

void drawInfo(QPainter& p, double s) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 200));
    p.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
    QFont font;
    font.setBold(true);
    font.setPixelSize(static_cast<int>(s * 0.7));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, "?");
}

void drawExit(QPainter& p, double s) {
    QPen pen(QColor(200, 50, 40), s * 0.12, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(s * 0.18, s * 0.2, s * 0.64, s * 0.64), 120 * 16, 300 * 16);
    p.drawLine(QPointF(s * 0.5, s * 0.1), QPointF(s * 0.5, s * 0.48));
}

void drawKey(QPainter& p, double s) {
    p.setPen(QPen(kOlive, s * 0.1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(s * 0.1, s * 0.3, s * 0.36, s * 0.36));
    p.drawLine(QPointF(s * 0.46, s * 0.48), QPointF(s * 0.9, s * 0.48));
    p.drawLine(QPointF(s * 0.78, s * 0.48), QPointF(s * 0.78, s * 0.66));
    p.drawLine(QPointF(s * 0.66, s * 0.48), QPointF(s * 0.66, s * 0.6));
}

}  // namespace

QPixmap drawPicture(Picture picture, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    switch (picture) {
        case Picture::Open: drawFolder(p, s); break;
        case Picture::Info: drawInfo(p, s); break;
        case Picture::Exit: drawExit(p, s); break;
        case Picture::Locked: drawLock(p, s, false); break;
        case Picture::Unlocked: drawLock(p, s, true); break;
        case Picture::Key: drawKey(p, s); break;
    }
    return pixmap;
}

QIcon pictureIcon(Picture picture) {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(drawPicture(picture, size));
    }
    return icon;
}

}  // namespace marnoq::ui
