#include "edit_sheet.h"

#include <QKeyEvent>
#include <QLabel>

#include "choice_combo.h"
#include "edit_rules.h"
#include "named_widget.h"
#include "skin_slider.h"

namespace editsheet {

SkinSlider* makeSlider(QWidget* parent, const char* name, int maximum, int position)
{
    auto* slider = makeNamed<SkinSlider>(parent, name);
    slider->setRange(0, maximum);
    slider->setValue(position);
    return slider;
}

void makeLabels(QWidget* parent, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        makeNamed<QLabel>(parent, name);
    }
}

void fillConstChoices(QComboBox* combo, const std::vector<std::pair<ChoiceValue, const char*>>& entries)
{
    std::vector<ComboboxSelectObject*> objects;
    for (size_t i = 0; i < entries.size(); ++i) {
        objects.push_back(new I18nConstSelectObject(static_cast<int32_t>(i), entries[i].first,
                                                    entries[i].second, entries[i].second));
    }
    fillChoiceCombo(combo, objects, 0);
}

int sourceWidth(const NodeSettingInfo* job)
{
    return job && job->owner ? job->owner->fileInfo.width : 0;
}

int sourceHeight(const NodeSettingInfo* job)
{
    return job && job->owner ? job->owner->fileInfo.height : 0;
}

int durationSeconds(const NodeSettingInfo* job)
{
    return job && job->owner ? job->owner->fileInfo.durationWholeSeconds : 0;
}

bool dropsNumberFieldKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    const QString text = key->text();
    if (text.isEmpty() || (key->modifiers() & Qt::ControlModifier) || key->key() == Qt::Key_Tab ||
        key->key() == Qt::Key_Backtab) {
        return false;
    }
    for (QChar character : text) {
        if (!editrules::isNumberFieldKey(character.unicode())) {
            return true;
        }
    }
    return false;
}

} // namespace editsheet
