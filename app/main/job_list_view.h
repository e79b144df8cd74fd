// The job list control: shows the rows of a JobList, one item per row in the same order. It
// holds no job data: drops, check boxes and accepted renames are reported for the window to
// apply to the list.
#pragma once

#include <QStringList>
#include <QStyledItemDelegate>
#include <QTreeWidget>

class JobList;
class QDropEvent;
struct NodeData;

// The local files and folders of a drop from the file manager.
QStringList droppedPaths(const QDropEvent& event);

class JobListView : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kDestinationColumn = 3;

    explicit JobListView(QWidget* parent = nullptr);

    // Rebuilds every item from the list; the list's selected row becomes the current item.
    void showRows(const JobList& jobs);
    // Appends an item for the list's last row.
    void appendRow(const JobList& jobs);
    // Rewrites the texts of every item.
    void refreshTexts(const JobList& jobs);
    // -1 when no item is current.
    int currentRow() const;
    void setCurrentRow(int index);

    // Starts an in-place edit of the destination column of a row.
    void editDestination(int index);

signals:
    // A row was dropped on the row of that index (-1: below every row).
    void rowDropped(int target);
    // Files and folders dropped from outside.
    void pathsDropped(const QStringList& paths);
    void checkChanged(int index, bool checked);
    void rowSelected(int index);
    void renameAccepted(int index, const QString& text);
    void editEnded();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    static void writeTexts(QTreeWidgetItem* item, const NodeData& row);

    bool rebuilding_ = false;
};

// The editor of the destination column: shows the name without its extension and hands an
// accepted text to the view instead of writing it into the item.
class DestinationDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit DestinationDelegate(JobListView* view);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    JobListView* view_;
};
