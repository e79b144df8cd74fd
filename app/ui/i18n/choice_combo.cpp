#include "choice_combo.h"

#include <QComboBox>
#include <algorithm>
#include <cstring>
#include <memory>

#include "choice_objects.h"

namespace {

// Keeps the objects of a combo box's entries; a child of the combo box, so they go with it.
class ChoiceOwner : public QObject {
public:
    explicit ChoiceOwner(QComboBox* combo) : QObject(combo) {}

    void adopt(ComboboxSelectObject* object) { objects_.emplace_back(object); }
    void release() { objects_.clear(); }

private:
    std::vector<std::unique_ptr<ComboboxSelectObject>> objects_;
};

ChoiceOwner* ownerOf(QComboBox* combo)
{
    for (QObject* child : combo->children()) {
        if (auto* owner = dynamic_cast<ChoiceOwner*>(child)) {
            return owner;
        }
    }
    return new ChoiceOwner(combo);
}

QVariant carried(ComboboxSelectObject* object)
{
    return QVariant::fromValue(reinterpret_cast<quintptr>(object));
}

void addEntry(QComboBox* combo, ComboboxSelectObject* object)
{
    combo->addItem(QString::fromStdString(object->getText()), carried(object));
}

}  // namespace

ComboboxSelectObject* choiceObjectAt(QComboBox* combo, int index)
{
    if (combo == nullptr || index < 0 || index >= combo->count()) {
        return nullptr;
    }
    return reinterpret_cast<ComboboxSelectObject*>(combo->itemData(index).value<quintptr>());
}

void fillChoiceCombo(QComboBox* combo, const std::vector<ComboboxSelectObject*>& objects, int selected)
{
    clearChoiceCombo(combo);
    ChoiceOwner* owner = ownerOf(combo);
    for (ComboboxSelectObject* object : objects) {
        owner->adopt(object);
        addEntry(combo, object);
    }
    combo->setCurrentIndex(selected);
}

void clearChoiceCombo(QComboBox* combo)
{
    combo->clear();
    ownerOf(combo)->release();
}

void selectChoiceByValue(QComboBox* combo, const void* value)
{
    if (value == nullptr) {
        return;
    }
    for (int index = 0; index < combo->count(); ++index) {
        const ComboboxSelectObject* object = choiceObjectAt(combo, index);
        if (object != nullptr && object->isEqual(value)) {
            combo->setCurrentIndex(index);
            return;
        }
    }
}

int getChoiceValue(void* destination, QComboBox* combo)
{
    const ComboboxSelectObject* object =
        destination == nullptr || combo == nullptr ? nullptr : choiceObjectAt(combo, combo->currentIndex());
    if (object == nullptr) {
        return 0;
    }
    switch (object->valueType()) {
    case kChoiceInteger: {
        const int32_t value = object->getInt();
        std::memcpy(destination, &value, sizeof value);
        break;
    }
    case kChoiceText:
        std::memcpy(destination, object->getString().c_str(), object->getString().size() + 1);
        break;
    case kChoiceSingle: {
        const float value = object->getFloat();
        std::memcpy(destination, &value, sizeof value);
        break;
    }
    case kChoiceDouble: {
        const double value = object->getDouble();
        std::memcpy(destination, &value, sizeof value);
        break;
    }
    default:
        return 0;
    }
    return 1;
}

void relocaliseChoiceCombo(QComboBox* combo)
{
    const int selected = combo->currentIndex();
    std::vector<ComboboxSelectObject*> objects;
    for (int index = 0; index < combo->count(); ++index) {
        objects.push_back(choiceObjectAt(combo, index));
    }
    combo->clear();
    for (ComboboxSelectObject* object : objects) {
        if (object != nullptr) {
            addEntry(combo, object);
        }
    }
    combo->setCurrentIndex(selected);
}
