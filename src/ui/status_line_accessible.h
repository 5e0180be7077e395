#pragma once

class QLabel;

namespace marnoq::ui {

// Makes the label known to screen readers as the window's status line (its text is its name),
// so they can read it on request and report its changes.
void announceAsStatusLine(QLabel* label);

}  // namespace marnoq::ui
