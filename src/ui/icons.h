#pragma once

#include <QIcon>
#include <QPixmap>

namespace marnoq::ui {

// Every picture of the program is drawn here; no image files are shipped with the window.
enum class Picture { Open, Info, Exit, Locked, Unlocked, Key };

QPixmap drawPicture(Picture picture, int size);
QIcon pictureIcon(Picture picture);

}  // namespace marnoq::ui
