#include "job_list_view.h"

#include <QDragEnterEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>

#include "i18n_binding.h"
#include "job_list.h"

namespace {

// Default header texts before the language is applied.
const char* const kColumnHeaders[] = {"Source", "Original Length", "Trimmed Length", "Distination File"};

// Editable for the destination column only: no edit trigger is on, the window starts the edits.
constexpr Qt::ItemFlags kRowFlags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable |
                                    Qt::ItemIsDragEnabled | Qt::ItemIsEditable;

bool isOwnDrag(const QDropEvent* event, const QWidget* view)
{
    return event->source() == view;
}

QString i18n(const char* id)
{
    return QString::fromUtf8(getI18nText(id));
}

// "Audio track: 2: deu, Deutsch" and "Subtitles: Burn in: 1: fre" for the kinds of track the source
// has; empty when it has neither.
QString trackChoiceTip(const NodeData& row)
{
    const TrackChoice& tracks = row.settings.tracks;
    QStringList lines;
    const MediaStreamInfo* audio = tracks.audio == TrackChoice::kDefaultAudio
                                       ? defaultAudioTrack(row.streams)
                                       : streamNumbered(row.streams, VKO_STREAM_AUDIO, tracks.audio);
    if (tracks.audio == TrackChoice::kAllAudio && streamCount(row.streams, VKO_STREAM_AUDIO) > 0)
        lines << i18n("04091") + QStringLiteral(": ") + i18n("04093");
    else if (audio != nullptr)
        lines << i18n("04091") + QStringLiteral(": ") + QString::fromStdString(trackLabel(*audio));
    const MediaStreamInfo* burnt = streamNumbered(row.streams, VKO_STREAM_SUBTITLE, tracks.subtitles);
    QString subtitles = tracks.subtitles == TrackChoice::kNoSubtitles ? i18n("04094") : i18n("04095");
    if (burnt != nullptr)
        subtitles = i18n("04096").arg(QString::fromStdString(trackLabel(*burnt)));
    if (streamCount(row.streams, VKO_STREAM_SUBTITLE) > 0)
        lines << i18n("04092") + QStringLiteral(": ") + subtitles;
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

QStringList droppedPaths(const QDropEvent& event)
{
    QStringList paths;
    for (const QUrl& url : event.mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

JobListView::JobListView(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(4);
    QStringList headers;
    for (const char* header : kColumnHeaders)
        headers << QString::fromLatin1(header);
    setHeaderLabels(headers);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAlternatingRowColors(true);
    setItemDelegate(new DestinationDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    header()->setStretchLastSection(true);
    setColumnWidth(0, 170);
    setColumnWidth(1, 100);
    setColumnWidth(2, 100);
    connect(itemDelegate(), &QAbstractItemDelegate::closeEditor, this, &JobListView::editEnded);
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (!rebuilding_ && column == 0)
            emit checkChanged(indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    });
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!rebuilding_)
            emit rowSelected(item == nullptr ? -1 : indexOfTopLevelItem(item));
    });
}

void JobListView::writeTexts(QTreeWidgetItem* item, const NodeData& row)
{
    item->setText(0, QString::fromUtf8(row.display.source));
    item->setText(1, QString::fromUtf8(row.display.originalLength));
    item->setText(2, QString::fromUtf8(row.display.trimmedLength));
    item->setText(kDestinationColumn, QString::fromUtf8(row.display.destination));
    item->setCheckState(0, row.display.checkState != 0 ? Qt::Checked : Qt::Unchecked);
    const QString tip = trackChoiceTip(row);
    for (int column = 0; column < item->columnCount(); ++column)
        item->setToolTip(column, tip);
}

void JobListView::showRows(const JobList& jobs)
{
    rebuilding_ = true;
    clear();
    for (int i = 0; i < jobs.size(); ++i) {
        auto* item = new QTreeWidgetItem(this);
        item->setFlags(kRowFlags);
        writeTexts(item, jobs.row(i));
    }
    rebuilding_ = false;
    setCurrentRow(jobs.selectedIndex());
}

void JobListView::appendRow(const JobList& jobs)
{
    rebuilding_ = true;
    auto* item = new QTreeWidgetItem(this);
    item->setFlags(kRowFlags);
    writeTexts(item, jobs.row(jobs.size() - 1));
    rebuilding_ = false;
}

void JobListView::refreshTexts(const JobList& jobs)
{
    rebuilding_ = true;
    for (int i = 0; i < topLevelItemCount() && i < jobs.size(); ++i)
        writeTexts(topLevelItem(i), jobs.row(i));
    rebuilding_ = false;
}

int JobListView::currentRow() const
{
    return currentItem() == nullptr ? -1 : indexOfTopLevelItem(currentItem());
}

void JobListView::setCurrentRow(int index)
{
    setCurrentItem(index >= 0 && index < topLevelItemCount() ? topLevelItem(index) : nullptr);
}

void JobListView::editDestination(int index)
{
    if (QTreeWidgetItem* item = topLevelItem(index))
        editItem(item, kDestinationColumn);
}

void JobListView::dragEnterEvent(QDragEnterEvent* event)
{
    event->acceptProposedAction();
}

void JobListView::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeWidget::dragMoveEvent(event);
    event->acceptProposedAction();
}

void JobListView::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    if (!isOwnDrag(event, this)) {
        const QStringList paths = droppedPaths(*event);
        if (!paths.isEmpty())
            emit pathsDropped(paths);
        return;
    }
    // The rows are moved by the window; the view must not remove the dragged item itself.
    event->setDropAction(Qt::CopyAction);
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    emit rowDropped(target == nullptr ? -1 : indexOfTopLevelItem(target));
}

DestinationDelegate::DestinationDelegate(JobListView* view) : QStyledItemDelegate(view), view_(view) {}

QSize DestinationDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // Rows with some air above and below their text.
    return QStyledItemDelegate::sizeHint(option, index) + QSize(0, 8);
}

void DestinationDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString destination = index.data().toString();
    const qsizetype dot = destination.lastIndexOf(QLatin1Char('.'));
    static_cast<QLineEdit*>(editor)->setText(dot < 0 ? destination : destination.left(dot));
}

void DestinationDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    emit view_->renameAccepted(index.row(), static_cast<QLineEdit*>(editor)->text());
}
