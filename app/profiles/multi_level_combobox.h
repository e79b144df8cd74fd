// A drop-down over a tree of choice objects: an image button shows the current choice; its
// panel holds one list per level, filled as the mouse moves over the level above. Opens upwards
// and closes on a choice in the last list or on a press outside the panel.
#pragma once

#include <QIcon>
#include <QObject>
#include <vector>

#include "profile_catalogue.h"

class ImageButton;
class QFrame;
class QTreeWidget;
class QTreeWidgetItem;

class VKOMultiLevelCombobox : public QObject {
    Q_OBJECT
public:
    // lists: one per level, first level first; hook: the object whose events are watched for
    // presses (the application).
    VKOMultiLevelCombobox(ImageButton* button, QFrame* panel, std::vector<QTreeWidget*> lists, QObject* hook);
    ~VKOMultiLevelCombobox() override;

    virtual void setItems(std::vector<VKOComboboxInfo*> items, std::vector<VKOComboboxInfo*> lookup,
                          const void* value);
    virtual void reload();
    virtual void refresh();
    virtual void selectValueAndRefresh(const void* value);
    virtual void selectValue(const void* value);
    virtual void showDropDown();
    virtual void onHotNodeChange(QTreeWidget* list, QTreeWidgetItem* row);
    virtual void onLevelChange(QTreeWidget* list, QTreeWidgetItem* row);
    virtual void onItemChosen();
    virtual bool onApplicationMessage(QEvent* event);
    virtual QString onGetText(const QTreeWidget* list, const VKOComboboxInfo& node, int column) const;
    // -1: no icon.
    virtual int onGetImageIndex(int level, const VKOComboboxInfo& node, int column) const;
    virtual const ComboboxSelectObject* currentItem() const;

    VKOComboboxInfo* currentNode() const { return current_; }
    const void* selectedValue() const { return selectedValue_; }
    QFrame* panel() const { return panel_; }
    const std::vector<QTreeWidget*>& lists() const { return lists_; }

    // The image lists of the lists' icon columns, small first (categories), then large.
    void setImageLists(std::vector<QIcon> small, std::vector<QIcon> large);
    // Puts the panel above the button, left edges aligned.
    void placePanel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    VKOComboboxInfo* findByValue(const void* value);
    int levelOf(const QTreeWidget* list) const;
    bool isLastLevel(int level) const { return level + 1 == static_cast<int>(lists_.size()); }
    void setUpList(int level);
    void fillList(int level, const std::vector<VKOComboboxInfo*>& nodes);
    void clearListsFrom(int level);
    void showCurrentText();
    static VKOComboboxInfo* nodeOf(const QTreeWidgetItem* row);

    int levelCount_;
    VKOComboboxInfo* found_ = nullptr;
    VKOComboboxInfo* current_ = nullptr;
    QObject* hook_;
    ImageButton* button_;
    QFrame* panel_;
    std::vector<QTreeWidget*> lists_;
    std::vector<VKOComboboxInfo*> items_;
    std::vector<VKOComboboxInfo*> lookup_;
    const void* selectedValue_ = nullptr;
    std::vector<QIcon> smallIcons_;
    std::vector<QIcon> largeIcons_;
    bool closedByButtonPress_ = false;  // the press that closed the panel will click the button
    // The press last handled: a press travels up the widgets that ignore it, seen once per widget.
    const QEvent* lastPress_ = nullptr;
    quint64 lastPressTime_ = 0;
};
