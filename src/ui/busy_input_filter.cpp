#include "ui/busy_input_filter.h"

#include <QEvent>

namespace marnoq::ui {

bool BusyInputFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (busy_()) {
                return true;
            }
            break;
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace marnoq::ui
