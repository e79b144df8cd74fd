// What the edit window's sheets (crop and zoom, effects, trim) share: their sliders and labels
// made by component name, the source of the job being edited, and the number fields' keys.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "choice_objects.h"

#include "job_rows.h"

class QComboBox;
class QEvent;
class QWidget;
class SkinSlider;

namespace editsheet {

SkinSlider* makeSlider(QWidget* parent, const char* name, int maximum, int position);
void makeLabels(QWidget* parent, std::initializer_list<const char*> names);
// Fills combo with fixed choices: each value with the language text of its id.
void fillConstChoices(QComboBox* combo, const std::vector<std::pair<ChoiceValue, const char*>>& entries);

// The job's source picture and length; 0 while there is no job.
int sourceWidth(const NodeSettingInfo* job);
int sourceHeight(const NodeSettingInfo* job);
int durationSeconds(const NodeSettingInfo* job);

// True when a number field (a margin, the custom width or height) drops this key press:
// characters other than digits, Enter and Backspace. Keys without a character (arrows, Delete),
// shortcuts and focus moves pass.
bool dropsNumberFieldKey(const QEvent* event);

} // namespace editsheet
