#pragma once

#include <QRect>

class QWidget;

namespace marnoq::ui {

// The layout is given in twips (1/1440 inch). Qt places widgets in device-independent pixels,
// so one conversion at the screen's logical resolution keeps the layout right on any screen.
class Twips {
  public:
    explicit Twips(double logicalDpi = 96.0, double scale = 1.0)
        : dpi_(logicalDpi * scale), scale_(scale) {}
    static Twips forWidget(const QWidget* widget);
    // For a window of the given client size: shrunk where it would not fit its screen.
    static Twips fitted(const QWidget* window, int widthTwips, int heightTwips);

    double scale() const { return scale_; }  // what fonts and pictures shrink by
    int pixels(int twips) const;
    QRect rect(int left, int top, int width, int height) const;

  private:
    double dpi_;
    double scale_;
};

}  // namespace marnoq::ui
