#include "ui/file_list_widget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QStyledItemDelegate>
#include <algorithm>

#include "window_model/horizontal_extent.h"
#include "window_model/message_text.h"

namespace marnoq::ui {
namespace {

// Every row is as wide as the list's extent, so the view's own layout derives the scroll range
// from it. Setting the range from inside the layout toggled the scroll bars without end.
class ExtentDelegate : public QStyledItemDelegate {
  public:
    ExtentDelegate(const int& extent, QObject* parent)
        : QStyledItemDelegate(parent), extent_(extent) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QSize natural = QStyledItemDelegate::sizeHint(option, index);
        return {std::max(natural.width(), extent_), natural.height()};
    }

  private:
    const int& extent_;
};

}  // namespace

FileListWidget::FileListWidget(bool acceptEveryDrag, QWidget* parent)
    : QListWidget(parent), acceptEveryDrag_(acceptEveryDrag) {
    setItemDelegate(new ExtentDelegate(extent_, this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setUniformItemSizes(true);
}

window_model::SortedFileList::Outcome FileListWidget::addEntry(const std::string& path) {
    const auto insertion = list_.insert(path);
    if (insertion.outcome == window_model::SortedFileList::Outcome::Added) {
        insertItem(static_cast<int>(insertion.index),
                   QString::fromStdString(window_model::displayName(path)));
    }
    return insertion.outcome;
}

QStringList FileListWidget::entries() const {
    QStringList paths;
    for (int row = 0; row < count(); ++row) {
        paths << item(row)->text();
    }
    return paths;
}

void FileListWidget::clearEntries() {
    list_.clear();
    clear();
}

void FileListWidget::AddHScroll() {
    const QFontMetrics metrics(font());
    extent_ = window_model::horizontalExtent(list_.entries(), [&metrics](const std::string& text) {
        return metrics.horizontalAdvance(QString::fromStdString(text));
    });
    doItemsLayout();
}

void FileListWidget::xListRemoveSelected() {
    for (int i = count() - 1; i >= 0; --i) {
        if (item(i)->isSelected()) {
            list_.removeAt(static_cast<std::size_t>(i));
            delete takeItem(i);
        }
    }
}

void FileListWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        emit removeRequested();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FileListWidget::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void FileListWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptEveryDrag_ || event->mimeData()->hasUrls()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void FileListWidget::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls =
        event->mimeData()->hasUrls() ? event->mimeData()->urls() : QList<QUrl>{};
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit filesDropped(urls);
}

}  // namespace marnoq::ui
