#pragma once

#include <QColor>
#include <optional>

#include "window_model/window_layout.h"

class QWidget;

namespace marnoq::ui {

QColor qtColour(window_model::Rgb rgb);

// Colours one control through its own palette. A style sheet on the window would reach every
// message box, dialog and tooltip opened over it; a palette stops at them.
void colourControl(QWidget* widget, std::optional<window_model::Rgb> text,
                   std::optional<window_model::Rgb> background);

}  // namespace marnoq::ui
