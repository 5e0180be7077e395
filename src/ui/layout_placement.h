#pragma once

#include <QFont>
#include <QString>
#include <span>
#include <string_view>
#include <utility>

#include "ui/twips.h"
#include "window_model/window_layout.h"

class QWidget;

namespace marnoq::ui {

QFont qtFont(window_model::FontFace face, double scale = 1.0);
QString qtText(std::string_view utf8);

// Places the control on its box of the layout, grown where the text would not fit in the
// widget's font (the twips stay those of the layout; the growth is in pixels).
void placeFitting(QWidget* widget, const window_model::WindowLayout& layout,
                  const window_model::ControlLayout& control, const Twips& twips,
                  const QString& widestText);

// Gives every control of the layout to its widget: name, font, text, tooltip,
// accessible name and description, alignment, and its fitted box.
using NamedWidget = std::pair<std::string_view, QWidget*>;
void applyLayout(const window_model::WindowLayout& layout, std::span<const NamedWidget> widgets,
                 const Twips& twips);

}  // namespace marnoq::ui
