#include "multi_level_combobox.h"

#include <QFrame>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeWidget>

#include "image_button.h"

namespace {

constexpr int kIconColumnWidth = 28;
constexpr int kLastIconColumnWidth = 47;
constexpr int kArrowColumnWidth = 28;
constexpr int kRowHeight = 24;
constexpr int kLastRowHeight = 50;

QTreeWidgetItem* rowOfObject(QTreeWidget* list, const ComboboxSelectObject* object)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list->topLevelItem(i);
        const auto* node = static_cast<const VKOComboboxInfo*>(row->data(0, Qt::UserRole).value<void*>());
        if (node != nullptr && object != nullptr && node->object->isEqual(object->getValue()))
            return row;
    }
    return nullptr;
}

}  // namespace

VKOMultiLevelCombobox::VKOMultiLevelCombobox(ImageButton* button, QFrame* panel, std::vector<QTreeWidget*> lists,
                                             QObject* hook)
    : levelCount_(static_cast<int>(lists.size())), hook_(hook), button_(button), panel_(panel),
      lists_(std::move(lists))
{
    panel_->hide();
    placePanel();
    connect(button_, &ImageButton::clicked, this, [this] {
        if (!closedByButtonPress_)
            showDropDown();
        closedByButtonPress_ = false;
    });
    hook_->installEventFilter(this);
    for (int level = 0; level < levelCount_; ++level) {
        QTreeWidget* list = lists_[static_cast<size_t>(level)];
        setUpList(level);
        list->setMouseTracking(true);
        connect(list, &QTreeWidget::itemEntered, this, [this, list](QTreeWidgetItem* row) { onHotNodeChange(list, row); });
        connect(list, &QTreeWidget::currentItemChanged, this,
                [this, list](QTreeWidgetItem* row) { onLevelChange(list, row); });
    }
}

VKOMultiLevelCombobox::~VKOMultiLevelCombobox()
{
    hook_->removeEventFilter(this);
}

void VKOMultiLevelCombobox::setImageLists(std::vector<QIcon> small, std::vector<QIcon> large)
{
    smallIcons_ = std::move(small);
    largeIcons_ = std::move(large);
    for (int level = 0; level < levelCount_; ++level)
        setUpList(level);
    refresh();
}

void VKOMultiLevelCombobox::setUpList(int level)
{
    QTreeWidget* list = lists_[static_cast<size_t>(level)];
    list->clear();
    list->setHeaderHidden(true);
    list->setRootIsDecorated(false);
    list->setIndentation(0);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const bool last = isLastLevel(level);
    const std::vector<QIcon>& icons = last ? largeIcons_ : smallIcons_;
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    if (icons.empty()) {
        list->setColumnCount(1);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        return;
    }
    // Icon and arrow columns keep their widths; the text column takes the rest of the list.
    list->setColumnCount(last ? 2 : 3);
    header->setSectionResizeMode(0, QHeaderView::Fixed);
    list->setColumnWidth(0, last ? kLastIconColumnWidth : kIconColumnWidth);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    if (!last) {
        header->setSectionResizeMode(2, QHeaderView::Fixed);
        list->setColumnWidth(2, kArrowColumnWidth);
    }
    const int iconSide = last ? kLastRowHeight - 8 : kRowHeight - 4;
    list->setIconSize(QSize(iconSide, iconSide));
}

void VKOMultiLevelCombobox::placePanel()
{
    panel_->move(button_->x(), button_->y() - panel_->height());
}

VKOComboboxInfo* VKOMultiLevelCombobox::nodeOf(const QTreeWidgetItem* row)
{
    return row == nullptr ? nullptr : static_cast<VKOComboboxInfo*>(row->data(0, Qt::UserRole).value<void*>());
}

int VKOMultiLevelCombobox::levelOf(const QTreeWidget* list) const
{
    for (int level = 0; level < levelCount_; ++level) {
        if (lists_[static_cast<size_t>(level)] == list)
            return level;
    }
    return -1;
}

VKOComboboxInfo* VKOMultiLevelCombobox::findByValue(const void* value)
{
    found_ = nullptr;
    for (VKOComboboxInfo* node : lookup_) {
        if (node->object->isEqual(value)) {
            found_ = node;
            break;
        }
    }
    if (found_ == nullptr && !lookup_.empty())
        found_ = lookup_.front();
    selectedValue_ = found_ == nullptr ? nullptr : found_->object->getValue();
    return found_;
}

void VKOMultiLevelCombobox::setItems(std::vector<VKOComboboxInfo*> items, std::vector<VKOComboboxInfo*> lookup,
                                     const void* value)
{
    items_ = std::move(items);
    lookup_ = std::move(lookup);
    selectValueAndRefresh(value);
}

void VKOMultiLevelCombobox::reload()
{
    refresh();
}

void VKOMultiLevelCombobox::refresh()
{
    clearListsFrom(0);
    if (items_.empty()) {
        button_->setText(QString());
        return;
    }
    if (current_ == nullptr)
        current_ = found_;
    showCurrentText();
    fillList(0, items_);
}

void VKOMultiLevelCombobox::selectValueAndRefresh(const void* value)
{
    current_ = findByValue(value);
    refresh();
}

void VKOMultiLevelCombobox::selectValue(const void* value)
{
    current_ = findByValue(value);
    showCurrentText();
}

void VKOMultiLevelCombobox::showCurrentText()
{
    button_->setText(current_ == nullptr ? QString() : QString::fromStdString(current_->object->getText()));
}

void VKOMultiLevelCombobox::showDropDown()
{
    placePanel();
    panel_->show();
    panel_->raise();
    std::vector<const VKOComboboxInfo*> path;
    for (const VKOComboboxInfo* node = current_; node != nullptr; node = node->parent)
        path.insert(path.begin(), node);
    for (size_t level = 0; level < path.size() && level < lists_.size(); ++level) {
        QTreeWidgetItem* row = rowOfObject(lists_[level], path[level]->object.get());
        if (row == nullptr)
            break;
        lists_[level]->setCurrentItem(row);
        lists_[level]->scrollToItem(row);
    }
}

void VKOMultiLevelCombobox::onHotNodeChange(QTreeWidget* list, QTreeWidgetItem* row)
{
    if (row != nullptr && list->currentItem() != row)
        list->setCurrentItem(row);
}

void VKOMultiLevelCombobox::onLevelChange(QTreeWidget* list, QTreeWidgetItem* row)
{
    const int level = levelOf(list);
    if (level < 0)
        return;
    clearListsFrom(level + 1);
    const VKOComboboxInfo* node = nodeOf(row);
    if (isLastLevel(level) || node == nullptr)
        return;
    std::vector<VKOComboboxInfo*> children;
    for (const auto& child : node->children)
        children.push_back(child.get());
    fillList(level + 1, children);
    QTreeWidget* next = lists_[static_cast<size_t>(level + 1)];
    if (next->topLevelItemCount() > 0)
        next->setCurrentItem(next->topLevelItem(0));
}

void VKOMultiLevelCombobox::onItemChosen() {}

bool VKOMultiLevelCombobox::onApplicationMessage(QEvent* event)
{
    auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() != Qt::LeftButton || !panel_->isVisible() || panel_->parentWidget() == nullptr)
        return false;
    QWidget* parent = panel_->parentWidget();
    const QPoint where = parent->mapFromGlobal(press->globalPosition().toPoint());
    if (!panel_->geometry().contains(where)) {
        panel_->hide();
        closedByButtonPress_ = button_->geometry().contains(where);
        return false;
    }
    QTreeWidget* last = lists_.back();
    const QRect lastRect(last->mapTo(parent, QPoint(0, 0)), last->size());
    const VKOComboboxInfo* chosen = nodeOf(last->currentItem());
    if (!lastRect.contains(where) || chosen == nullptr)
        return false;
    current_ = findByValue(chosen->object->getValue());
    showCurrentText();
    panel_->hide();
    onItemChosen();
    return true;
}

bool VKOMultiLevelCombobox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const quint64 time = static_cast<QMouseEvent*>(event)->timestamp();
        if (event == lastPress_ && time == lastPressTime_)
            return false;
        lastPress_ = event;
        lastPressTime_ = time;
        return onApplicationMessage(event);
    }
    return QObject::eventFilter(watched, event);
}

QString VKOMultiLevelCombobox::onGetText(const QTreeWidget* list, const VKOComboboxInfo& node, int column) const
{
    if (list->columnCount() == 1 || column == 1)
        return QString::fromStdString(node.object->getText());
    return {};
}

int VKOMultiLevelCombobox::onGetImageIndex(int, const VKOComboboxInfo&, int) const
{
    return -1;
}

const ComboboxSelectObject* VKOMultiLevelCombobox::currentItem() const
{
    return current_ == nullptr ? nullptr : current_->object.get();
}

void VKOMultiLevelCombobox::fillList(int level, const std::vector<VKOComboboxInfo*>& nodes)
{
    QTreeWidget* list = lists_[static_cast<size_t>(level)];
    const QSignalBlocker quiet(list);
    list->clear();
    const std::vector<QIcon>& icons = isLastLevel(level) ? largeIcons_ : smallIcons_;
    const int height = isLastLevel(level) || levelCount_ == 1 ? kLastRowHeight : kRowHeight;
    for (VKOComboboxInfo* node : nodes) {
        auto* row = new QTreeWidgetItem(list);
        row->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(node)));
        for (int column = 0; column < list->columnCount(); ++column) {
            const QString text = onGetText(list, *node, column);
            row->setText(column, text);
            row->setToolTip(column, text);  // whole, where the column cuts it
            const int image = onGetImageIndex(level, *node, column);
            if (image >= 0 && image < static_cast<int>(icons.size()))
                row->setIcon(column, icons[static_cast<size_t>(image)]);
            row->setSizeHint(column, QSize(0, height));
        }
    }
    list->setCurrentItem(nullptr);
}

void VKOMultiLevelCombobox::clearListsFrom(int level)
{
    for (int i = level; i < levelCount_; ++i) {
        const QSignalBlocker quiet(lists_[static_cast<size_t>(i)]);
        lists_[static_cast<size_t>(i)]->clear();
    }
}
