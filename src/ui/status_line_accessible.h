#pragma once

class QLabel;
class QLineEdit;
class QWidget;

namespace marnoq::ui {

// Makes the label known to screen readers as the window's status line (its accessible name is
// what was last announced), so they can read it on request and report its changes.
void announceAsStatusLine(QLabel* label);

// A window is a frame to screen readers; the widget's decorative children are left out of its
// tree, and a button among them is still pressed by its action.
void announceAsFrame(QWidget* window);
void announceWithoutDecoration(QWidget* button);
void markDecorative(QWidget* widget);

// The box's typing reaches the accessibility bus only as "*", never as the typed characters.
void announceMasked(QLineEdit* box);

}  // namespace marnoq::ui
