#pragma once

#include <QFont>
#include <QListWidget>
#include <QUrl>

namespace marnoq::ui {

// A file list: full paths sorted without regard to case, at most 32767 of them, a horizontal
// extent that reaches the end of the longest path, and drops passed on to the window.
class FileListWidget : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kMaxEntries = 32767;

    // acceptEveryDrag: the decrypt list takes every drag and sorts out the files on the drop.
    FileListWidget(bool acceptEveryDrag, QWidget* parent);

    // Adds one path at its sorted place; false when the list is full.
    bool addEntry(const QString& path);
    QStringList entries() const;

    void xListKillDupes();
    // The extent is measured in the given font (the window's), with 25 blanks to spare.
    void AddHScroll(const QFont& measureFont);
    void xListRemoveSelected();
    int horizontalExtent() const { return extent_; }

signals:
    void filesDropped(const QList<QUrl>& urls);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void updateGeometries() override;

private:
    bool acceptEveryDrag_;
    int extent_ = 0;
};

}  // namespace marnoq::ui
