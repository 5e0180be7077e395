#pragma once

#include <QWidget>

namespace marnoq::ui {

// A bright frame around whichever control of the window has the keyboard focus, drawn over
// it, so the focus is seen on every control in the window's colours, whatever the style does.
class FocusRing : public QWidget {
  public:
    explicit FocusRing(QWidget* window);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void follow(QWidget* focused);
};

}  // namespace marnoq::ui
