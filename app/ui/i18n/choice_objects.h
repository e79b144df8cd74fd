// The values carried by the entries of choice lists. An entry keeps its value while its text is
// localised again whenever the language changes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

struct ProfileXmlInfo;

// Where the choice objects take the current language and the localised texts from. The
// localisation side plugs in its language buffer and its resource lookup; until then the
// language is empty (every localised object shows its first language) and texts are empty.
struct ChoiceTextLookup {
    std::function<std::string()> currentLanguage;
    std::function<std::string(const std::string& resourceId)> textOf;
};
void setChoiceTextLookup(ChoiceTextLookup lookup);
const ChoiceTextLookup& choiceTextLookup();

enum ChoiceValueType : int32_t { kChoiceInteger = 1, kChoiceText = 2, kChoiceSingle = 3, kChoiceDouble = 4 };

// The value of a choice: its type and the one field that type selects.
struct ChoiceValue {
    int32_t type = kChoiceInteger;
    int32_t integer = 0;
    float single = 0;
    double real = 0;
    std::string text;

    static ChoiceValue ofInteger(int32_t value);
    static ChoiceValue ofText(std::string value);
    static ChoiceValue ofSingle(float value);
    static ChoiceValue ofDouble(double value);
};

class ComboboxSelectObject {
public:
    ComboboxSelectObject(int32_t id, ChoiceValue value, std::string text, std::string description);
    virtual ~ComboboxSelectObject() = default;
    ComboboxSelectObject(const ComboboxSelectObject&) = delete;
    ComboboxSelectObject& operator=(const ComboboxSelectObject&) = delete;

    // False for null; true for this object itself; otherwise compares the value that value points
    // to, read as this object's type (an int32_t, a NUL-terminated text, a float or a double).
    virtual bool isEqual(const void* value) const;
    virtual int32_t getId() const { return id_; }
    int32_t valueType() const { return value_.type; }
    virtual const std::string& getString() const { return value_.text; }
    virtual int32_t getInt() const { return value_.integer; }
    virtual float getFloat() const { return value_.single; }
    virtual double getDouble() const { return value_.real; }
    // The text value for text objects, the object itself for the other types.
    virtual const void* getValue() const;
    virtual std::string getText() const { return text_; }
    virtual std::string getDescription() const { return description_; }

private:
    int32_t id_;
    ChoiceValue value_;
    std::string text_;
    std::string description_;
};

// Texts of a choice in up to ten languages.
struct ChoiceLanguages {
    static constexpr int kMaxLanguages = 10;
    int32_t count = 0;
    std::array<std::string, kMaxLanguages> codes;
    std::array<std::string, kMaxLanguages> names;
    std::array<std::string, kMaxLanguages> descriptions;

    // Copies the first count entries of each array (only entry 0 when count is 0 or less; at most
    // ten). Null texts become empty.
    static ChoiceLanguages copyOf(int32_t count, const char* const* codes, const char* const* names,
                                  const char* const* descriptions);
};

// A choice shown in the current language: the entry of the first code equal to it, else entry 0.
class I18nSelectObject : public ComboboxSelectObject {
public:
    I18nSelectObject(int32_t id, ChoiceValue value, ChoiceLanguages languages);

    std::string getText() const override;
    virtual std::string getLocalDescription() const;
    virtual const std::array<std::string, ChoiceLanguages::kMaxLanguages>& getLanguages() const;
    virtual int32_t getLanguageCount() const { return languages_.count; }

private:
    int currentEntry() const;

    ChoiceLanguages languages_;
};

// One profile of the catalogue: a text choice whose value is the profile name and whose id is
// the profile's category. The record must outlive the object (the profile store keeps it).
class ProfileSelectObject : public I18nSelectObject {
public:
    explicit ProfileSelectObject(const ProfileXmlInfo& profile);

    const ProfileXmlInfo& profile() const { return profile_; }
    const std::string& format() const { return format_; }
    const std::string& extension() const { return extension_; }
    int32_t builtIn() const;
    int32_t mediaType() const;
    int32_t deviceType() const;
    int32_t categoryId() const;
    const std::array<std::string, ChoiceLanguages::kMaxLanguages>& categoryNames() const { return categoryNames_; }

private:
    const ProfileXmlInfo& profile_;
    std::string format_;
    std::string extension_;
    std::array<std::string, ChoiceLanguages::kMaxLanguages> categoryNames_;
};

// A fixed choice whose text and description are resource ids, looked up in the current language.
class I18nConstSelectObject : public ComboboxSelectObject {
public:
    I18nConstSelectObject(int32_t id, ChoiceValue value, std::string textId, std::string descriptionId);

    std::string getText() const override;
    virtual std::string getLocalDescription() const;

private:
    std::string textId_;
    std::string descriptionId_;
};
