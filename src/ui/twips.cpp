#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace marnoq::ui {

Twips Twips::forWidget(const QWidget* widget) {
    const QScreen* screen = widget != nullptr && widget->screen() != nullptr
                                ? widget->screen()
                                : QGuiApplication::primaryScreen();
    return Twips(screen != nullptr ? screen->logicalDotsPerInchX() : 96.0);
}

int Twips::pixels(int twips) const {
    return static_cast<int>(std::lround(twips * dpi_ / 1440.0));
}

QRect Twips::rect(int left, int top, int width, int height) const {
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

}  // namespace marnoq::ui
