#include "ui/file_list_widget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QMimeData>
#include <QScrollBar>
#include <QSet>

namespace marnoq::ui {
namespace {

class PathItem : public QListWidgetItem {
public:
    explicit PathItem(const QString& path) : QListWidgetItem(path) {}
    bool operator<(const QListWidgetItem& other) const override {
        return text().compare(other.text(), Qt::CaseInsensitive) < 0;
    }
};

}  // namespace

FileListWidget::FileListWidget(bool acceptEveryDrag, QWidget* parent)
    : QListWidget(parent), acceptEveryDrag_(acceptEveryDrag) {
    setSortingEnabled(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setUniformItemSizes(true);
}

bool FileListWidget::addEntry(const QString& path) {
    if (count() >= kMaxEntries) {
        return false;
    }
    addItem(new PathItem(path));  // the list owns its items
    return true;
}

QStringList FileListWidget::entries() const {
    QStringList paths;
    for (int i = 0; i < count(); ++i) {
        paths << item(i)->text();
    }
    return paths;
}

void FileListWidget::xListKillDupes() {
    // Equal paths are exact copies, so which of them stays does not matter; a set keeps this
    // linear for lists of thousands of entries.
    QSet<QString> seen;
    for (int i = 0; i < count();) {
        const QString text = item(i)->text();
        if (seen.contains(text)) {
            delete takeItem(i);
        } else {
            seen.insert(text);
            ++i;
        }
    }
}

void FileListWidget::AddHScroll(const QFont& measureFont) {
    QString longest;
    for (int i = 0; i < count(); ++i) {
        if (item(i)->text().size() > longest.size()) {
            longest = item(i)->text();
        }
    }
    extent_ = QFontMetrics(measureFont).horizontalAdvance(longest + QString(25, ' '));
    updateGeometries();
}

void FileListWidget::xListRemoveSelected() {
    for (int i = count() - 1; i >= 0; --i) {
        if (item(i)->isSelected()) {
            delete takeItem(i);
        }
    }
}

void FileListWidget::updateGeometries() {
    QListWidget::updateGeometries();
    const int overhang = extent_ - viewport()->width();
    if (overhang > horizontalScrollBar()->maximum()) {
        horizontalScrollBar()->setRange(0, overhang);
    }
}

void FileListWidget::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void FileListWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptEveryDrag_ || event->mimeData()->hasUrls()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void FileListWidget::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->hasUrls() ? event->mimeData()->urls() : QList<QUrl>{};
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit filesDropped(urls);
}

}  // namespace marnoq::ui
