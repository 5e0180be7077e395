#pragma once

#include <QRect>

class QWidget;

namespace marnoq::ui {

// The layout is given in twips (1/1440 inch). Qt places widgets in device-independent pixels,
// so one conversion at the screen's logical resolution keeps the layout right on any screen.
class Twips {
public:
    explicit Twips(double logicalDpi = 96.0) : dpi_(logicalDpi) {}
    static Twips forWidget(const QWidget* widget);

    int pixels(int twips) const;
    QRect rect(int left, int top, int width, int height) const;

private:
    double dpi_;
};

}  // namespace marnoq::ui
