// Combo boxes whose entries carry choice objects. The combo box owns the objects: they are
// deleted when its entries are cleared or when the combo box itself goes.
#pragma once

#include <vector>

class QComboBox;
class ComboboxSelectObject;

// Replaces the entries by one per object (text: the object's getText) and selects index.
void fillChoiceCombo(QComboBox* combo, const std::vector<ComboboxSelectObject*>& objects, int selected);

// Deletes every attached object, then removes all entries.
void clearChoiceCombo(QComboBox* combo);

// Selects the first entry whose object equals value; no match or a null value changes nothing.
void selectChoiceByValue(QComboBox* combo, const void* value);

// Copies the selected object's value into destination by its type; returns 0 and copies nothing
// when an argument is missing or nothing is selected, otherwise 1.
int getChoiceValue(void* destination, QComboBox* combo);

// Re-reads every entry's text from its object (after a language change), keeping the selection.
void relocaliseChoiceCombo(QComboBox* combo);

// The object attached to entry index, or null.
ComboboxSelectObject* choiceObjectAt(QComboBox* combo, int index);
