// Combo boxes carrying choice objects: filling, selection by value, value copies, and new texts
// after a language change, with the texts coming from the language resources.
#include <gtest/gtest.h>

#include <QComboBox>
#include <cstring>
#include <memory>

#include "app_test_support.h"
#include "choice_combo.h"
#include "choice_objects.h"
#include "i18n_binding.h"
#include "vkoI18nDll.h"

namespace {

// Counts its own deletions, to see who owns it.
class CountedChoice : public ComboboxSelectObject {
public:
    CountedChoice(ChoiceValue value, std::string text, int* deletions)
        : ComboboxSelectObject(0, std::move(value), std::move(text), {}), deletions_(deletions)
    {
    }
    ~CountedChoice() override { ++*deletions_; }

private:
    int* deletions_;
};

class ChoiceCombo : public ::testing::Test {
protected:
    void SetUp() override
    {
        apptest::application();
        clearI18nResources();
        testsupport::writeFile(dir_, "en_us.xml", R"(<language code="en_us">
            <text id="05011">Original</text><text id="05012">Full screen</text></language>)");
        testsupport::writeFile(dir_, "zh_cn.xml", R"(<language code="zh_cn">
            <text id="05011">原始比例</text><text id="05012">全屏</text></language>)");
        ASSERT_EQ(loadI18nResources(dir_.root().c_str()), 2);
        plugI18nIntoChoices();
        setI18nLanguage(QStringLiteral("en_us"));
    }

    void TearDown() override { clearI18nResources(); }

    std::vector<ComboboxSelectObject*> counted(std::initializer_list<ChoiceValue> values)
    {
        std::vector<ComboboxSelectObject*> objects;
        int number = 0;
        for (const ChoiceValue& value : values) {
            objects.push_back(new CountedChoice(value, "entry " + std::to_string(number++), &deletions_));
        }
        return objects;
    }

    testsupport::TempDir dir_;
    int deletions_ = 0;
};

TEST_F(ChoiceCombo, FillShowsTextsSelectsAndOwnsTheObjects)
{
    auto combo = std::make_unique<QComboBox>();
    fillChoiceCombo(combo.get(), counted({ChoiceValue::ofInteger(4), ChoiceValue::ofInteger(5)}), 1);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("entry 0"));
    EXPECT_EQ(combo->currentIndex(), 1);

    fillChoiceCombo(combo.get(), counted({ChoiceValue::ofInteger(6)}), 0);
    EXPECT_EQ(deletions_, 2);
    EXPECT_EQ(combo->count(), 1);

    clearChoiceCombo(combo.get());
    EXPECT_EQ(deletions_, 3);
    EXPECT_EQ(combo->count(), 0);

    fillChoiceCombo(combo.get(), counted({ChoiceValue::ofInteger(7)}), 0);
    combo.reset();
    EXPECT_EQ(deletions_, 4);
}

TEST_F(ChoiceCombo, SelectsTheFirstEqualValueAndKeepsTheSelectionOtherwise)
{
    QComboBox combo;
    fillChoiceCombo(&combo, counted({ChoiceValue::ofText("full"), ChoiceValue::ofText("16:9"),
                                     ChoiceValue::ofText("16:9")}), 0);
    selectChoiceByValue(&combo, "16:9");
    EXPECT_EQ(combo.currentIndex(), 1);
    selectChoiceByValue(&combo, "4:3");
    EXPECT_EQ(combo.currentIndex(), 1);
    selectChoiceByValue(&combo, nullptr);
    EXPECT_EQ(combo.currentIndex(), 1);

    QComboBox numbers;
    fillChoiceCombo(&numbers, counted({ChoiceValue::ofInteger(2), ChoiceValue::ofInteger(3)}), 0);
    const int32_t three = 3;
    selectChoiceByValue(&numbers, &three);
    EXPECT_EQ(numbers.currentIndex(), 1);
}

TEST_F(ChoiceCombo, CopiesTheSelectedValueByItsType)
{
    QComboBox combo;
    fillChoiceCombo(&combo, counted({ChoiceValue::ofInteger(44100), ChoiceValue::ofText("libx264"),
                                     ChoiceValue::ofSingle(29.97f), ChoiceValue::ofDouble(0.5)}), 0);
    int32_t integer = 0;
    EXPECT_EQ(getChoiceValue(&integer, &combo), 1);
    EXPECT_EQ(integer, 44100);

    char text[20];
    std::memset(text, 'x', sizeof text);
    combo.setCurrentIndex(1);
    EXPECT_EQ(getChoiceValue(text, &combo), 1);
    EXPECT_STREQ(text, "libx264");
    EXPECT_EQ(text[8], 'x');

    float single = 0;
    combo.setCurrentIndex(2);
    EXPECT_EQ(getChoiceValue(&single, &combo), 1);
    EXPECT_FLOAT_EQ(single, 29.97f);

    double real = 0;
    combo.setCurrentIndex(3);
    EXPECT_EQ(getChoiceValue(&real, &combo), 1);
    EXPECT_DOUBLE_EQ(real, 0.5);
}

TEST_F(ChoiceCombo, NothingSelectedOrMissingArgumentsCopyNothing)
{
    QComboBox combo;
    fillChoiceCombo(&combo, counted({ChoiceValue::ofInteger(1)}), -1);
    int32_t untouched = 77;
    EXPECT_EQ(getChoiceValue(&untouched, &combo), 0);
    EXPECT_EQ(untouched, 77);
    EXPECT_EQ(getChoiceValue(nullptr, &combo), 0);
    EXPECT_EQ(getChoiceValue(&untouched, nullptr), 0);
}

TEST_F(ChoiceCombo, RelocalisingKeepsObjectsAndSelectionWithNewTexts)
{
    QComboBox combo;
    fillChoiceCombo(&combo,
                    {new I18nConstSelectObject(0, ChoiceValue::ofText("original"), "05011", "05011"),
                     new I18nConstSelectObject(1, ChoiceValue::ofText("full"), "05012", "05012")},
                    1);
    const ComboboxSelectObject* before = choiceObjectAt(&combo, 1);
    EXPECT_EQ(combo.itemText(1), QStringLiteral("Full screen"));

    setI18nLanguage(QStringLiteral("zh_cn"));
    relocaliseChoiceCombo(&combo);

    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_EQ(choiceObjectAt(&combo, 1), before);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("原始比例"));
    EXPECT_EQ(combo.itemText(1), QStringLiteral("全屏"));
}

TEST_F(ChoiceCombo, LocalisedChoicesFallBackToTheirFirstLanguage)
{
    const char* const codes[] = {"en_us", "zh_cn"};
    const char* const names[] = {"A", "B"};
    const I18nSelectObject choice(0, ChoiceValue::ofText("a"), ChoiceLanguages::copyOf(2, codes, names, names));
    const struct {
        const char* language;
        const char* shown;
    } cases[] = {{"zh_cn", "B"}, {"en_us", "A"}, {"de_de", "A"}, {"", "A"}};
    for (const auto& c : cases) {
        setI18nLanguage(QString::fromLatin1(c.language));
        EXPECT_EQ(choice.getText(), c.shown) << c.language;
    }
}

}  // namespace
