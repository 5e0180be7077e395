#include "ui/control_palette.h"

#include <QPalette>
#include <QWidget>

namespace marnoq::ui {

QColor qtColour(window_model::Rgb rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

void colourControl(QWidget* widget, std::optional<window_model::Rgb> text,
                   std::optional<window_model::Rgb> background) {
    QPalette palette = widget->palette();
    if (text) {
        palette.setColor(QPalette::WindowText, qtColour(*text));
        palette.setColor(QPalette::Text, qtColour(*text));
    }
    if (background) {
        palette.setColor(QPalette::Window, qtColour(*background));
        palette.setColor(QPalette::Base, qtColour(*background));
    }
    widget->setPalette(palette);
    // Buttons fill with their button colour unless told to use the window colour.
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(background.has_value());
}

}  // namespace marnoq::ui
