#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "window_model/window_layout.h"

namespace marnoq::ui {

Twips Twips::forWidget(const QWidget* widget) {
    const QScreen* screen = widget != nullptr && widget->screen() != nullptr
                                ? widget->screen()
                                : QGuiApplication::primaryScreen();
    return Twips(screen != nullptr ? screen->logicalDotsPerInchX() : 96.0);
}

Twips Twips::fitted(const QWidget* window, int widthTwips, int heightTwips) {
    const Twips full = forWidget(window);
    const QScreen* screen = window != nullptr && window->screen() != nullptr
                                ? window->screen()
                                : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return full;
    }
    // Room for the frame and the title bar the window system adds around the client area.
    constexpr int kFrameWidth = 16;
    constexpr int kFrameHeight = 48;
    const QRect area = screen->availableGeometry();
    return Twips(full.dpi_, window_model::fittingScale(full.pixels(widthTwips) + kFrameWidth,
                                                       full.pixels(heightTwips) + kFrameHeight,
                                                       area.width(), area.height()));
}

int Twips::pixels(int twips) const {
    return static_cast<int>(std::lround(twips * dpi_ / 1440.0));
}

QRect Twips::rect(int left, int top, int width, int height) const {
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

}  // namespace marnoq::ui
