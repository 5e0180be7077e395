#pragma once

#include <QListWidget>
#include <QUrl>

#include "window_model/file_list_rules.h"

namespace marnoq::ui {

// A file list control showing the entries of its SortedFileList, with a horizontal extent that
// reaches the end of the longest path, and drops passed on to the window.
class FileListWidget : public QListWidget {
    Q_OBJECT
  public:
    // acceptEveryDrag: the decrypt list takes every drag and sorts out the files on the drop.
    FileListWidget(bool acceptEveryDrag, QWidget* parent);

    // The path as the system names it; the list shows it as the user can read it.
    window_model::SortedFileList::Outcome addEntry(const std::string& path);
    const std::string& path(int row) const {
        return list_.entries().at(static_cast<std::size_t>(row));
    }
    QStringList entries() const;  // as shown
    void clearEntries();

    void AddHScroll();
    void xListRemoveSelected();
    int horizontalExtent() const { return extent_; }

  signals:
    void filesDropped(const QList<QUrl>& urls);
    void removeRequested();  // the Delete key, like a double-click

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool acceptEveryDrag_;
    window_model::SortedFileList list_;
    int extent_ = 0;
};

}  // namespace marnoq::ui
