#include "choice_objects.h"

#include "vkoProfileDll.h"

#include <algorithm>
#include <cstring>

namespace {

ChoiceTextLookup& lookupSlot()
{
    static ChoiceTextLookup lookup{[] { return std::string(); }, [](const std::string&) { return std::string(); }};
    return lookup;
}

std::string textOrEmpty(const char* text)
{
    return text ? text : "";
}

} // namespace

void setChoiceTextLookup(ChoiceTextLookup lookup)
{
    lookupSlot() = std::move(lookup);
}

const ChoiceTextLookup& choiceTextLookup()
{
    return lookupSlot();
}

ChoiceValue ChoiceValue::ofInteger(int32_t value)
{
    ChoiceValue choice;
    choice.type = kChoiceInteger;
    choice.integer = value;
    return choice;
}

ChoiceValue ChoiceValue::ofText(std::string value)
{
    ChoiceValue choice;
    choice.type = kChoiceText;
    choice.text = std::move(value);
    return choice;
}

ChoiceValue ChoiceValue::ofSingle(float value)
{
    ChoiceValue choice;
    choice.type = kChoiceSingle;
    choice.single = value;
    return choice;
}

ChoiceValue ChoiceValue::ofDouble(double value)
{
    ChoiceValue choice;
    choice.type = kChoiceDouble;
    choice.real = value;
    return choice;
}

ComboboxSelectObject::ComboboxSelectObject(int32_t id, ChoiceValue value, std::string text, std::string description)
    : id_(id), value_(std::move(value)), text_(std::move(text)), description_(std::move(description))
{
}

bool ComboboxSelectObject::isEqual(const void* value) const
{
    if (!value)
        return false;
    if (value == this)
        return true;
    switch (value_.type) {
    case kChoiceInteger:
        return *static_cast<const int32_t*>(value) == value_.integer;
    case kChoiceText:
        return std::strcmp(static_cast<const char*>(value), value_.text.c_str()) == 0;
    case kChoiceSingle:
        return *static_cast<const float*>(value) == value_.single;
    case kChoiceDouble:
        return *static_cast<const double*>(value) == value_.real;
    default:
        return false;
    }
}

const void* ComboboxSelectObject::getValue() const
{
    if (value_.type == kChoiceText)
        return value_.text.c_str();
    return this;
}

ChoiceLanguages ChoiceLanguages::copyOf(int32_t count, const char* const* codes, const char* const* names,
                                        const char* const* descriptions)
{
    ChoiceLanguages languages;
    languages.count = std::min(count, int32_t{kMaxLanguages});
    int32_t copied = std::max(languages.count, int32_t{1});
    for (int32_t i = 0; i < copied; ++i) {
        languages.codes[i] = textOrEmpty(codes[i]);
        languages.names[i] = textOrEmpty(names[i]);
        languages.descriptions[i] = textOrEmpty(descriptions[i]);
    }
    return languages;
}

I18nSelectObject::I18nSelectObject(int32_t id, ChoiceValue value, ChoiceLanguages languages)
    : ComboboxSelectObject(id, std::move(value), languages.names[0], languages.descriptions[0]),
      languages_(std::move(languages))
{
}

int I18nSelectObject::currentEntry() const
{
    std::string language = choiceTextLookup().currentLanguage();
    for (int32_t i = 0; i < languages_.count; ++i)
        if (languages_.codes[i] == language)
            return i;
    return 0;
}

std::string I18nSelectObject::getText() const
{
    return languages_.names[currentEntry()];
}

std::string I18nSelectObject::getLocalDescription() const
{
    return languages_.descriptions[currentEntry()];
}

const std::array<std::string, ChoiceLanguages::kMaxLanguages>& I18nSelectObject::getLanguages() const
{
    return languages_.codes;
}

ProfileSelectObject::ProfileSelectObject(const ProfileXmlInfo& profile)
    : I18nSelectObject(profile.categoryId, ChoiceValue::ofText(profile.profileName),
                       ChoiceLanguages::copyOf(profile.languageCount, profile.languages, profile.names,
                                               profile.descriptions)),
      profile_(profile), format_(profile.formatName), extension_(profile.extension)
{
    int32_t count = std::clamp(profile.languageCount, 0, int32_t{ChoiceLanguages::kMaxLanguages});
    for (int32_t i = 0; i < count; ++i)
        categoryNames_[i] = textOrEmpty(profile.categoryNames[i]);
}

int32_t ProfileSelectObject::builtIn() const
{
    return profile_.builtIn;
}

int32_t ProfileSelectObject::mediaType() const
{
    return profile_.mediaType;
}

int32_t ProfileSelectObject::deviceType() const
{
    return profile_.deviceType;
}

int32_t ProfileSelectObject::categoryId() const
{
    return profile_.categoryId;
}

I18nConstSelectObject::I18nConstSelectObject(int32_t id, ChoiceValue value, std::string textId,
                                             std::string descriptionId)
    : ComboboxSelectObject(id, std::move(value), {}, {}), textId_(std::move(textId)),
      descriptionId_(std::move(descriptionId))
{
}

std::string I18nConstSelectObject::getText() const
{
    return choiceTextLookup().textOf(textId_);
}

std::string I18nConstSelectObject::getLocalDescription() const
{
    return choiceTextLookup().textOf(descriptionId_);
}
