#include "edit_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>

#include "i18n_binding.h"
#include "image_button.h"
#include "named_widget.h"
#include "picture_box.h"
#include "skin_catalogue.h"
#include "skin_folder.h"
#include "skin_slider.h"

namespace {

SkinSlider* makeSlider(QWidget* parent, const char* name, int maximum, int position)
{
    auto* slider = makeNamed<SkinSlider>(parent, name);
    slider->setRange(0, maximum);
    slider->setValue(position);
    return slider;
}

void makeMarginField(QWidget* parent, const char* name)
{
    auto* field = makeNamed<QSpinBox>(parent, name);
    field->setRange(0, 10000);
    field->setButtonSymbols(QAbstractSpinBox::NoButtons);
}

void makeTimeField(QWidget* parent, const char* name)
{
    auto* field = makeNamed<QTimeEdit>(parent, name);
    field->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    field->setButtonSymbols(QAbstractSpinBox::NoButtons);
    field->setAlignment(Qt::AlignCenter);
}

void makeLabels(QWidget* parent, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        makeNamed<QLabel>(parent, name);
    }
}

}  // namespace

TfrmEdit::TfrmEdit() : SkinWindow({"edit", "edit/", QSize(700, 33)})
{
    setObjectName(QStringLiteral("TfrmEdit"));
    auto* background = makeNamed<PictureBox>(this, "BG_img");
    createPlayerControls();
    tabs_ = makeNamed<QTabWidget>(this, "EditTabs");
    tabs_->addTab(createCropSheet(), QString());
    tabs_->addTab(createEffectSheet(), QString());
    tabs_->addTab(createTrimSheet(), QString());
    createButtons();
    createFromSkin();
    paintTabPages(tabs_);
    hideCustomSize();
    setDragBackground(background);
    bindTexts();
    for (const char* name : {"close", "Edit_cancel_img", "Edit_ok_img"}) {
        connect(findChild<ImageButton*>(QLatin1String(name)), &ImageButton::clicked, this,
                &TfrmEdit::close);
    }
}

void TfrmEdit::createPlayerControls()
{
    makeNamed<ImageButton>(this, "close");
    makeNamed<QWidget>(this, "TrimPlayPanel");
    makeSlider(this, "TotalTrackBar", 0, 0);
    for (const char* name : {"Play_img", "Playtrim_img", "Trimstart_img", "Trimend_img"}) {
        makeNamed<ImageButton>(this, name);
    }
}

QWidget* TfrmEdit::createCropSheet()
{
    auto* sheet = makeNamed<QWidget>(tabs_, "CropSheet");
    makeLabels(sheet, {"zoom", "left", "right", "top", "bottom", "Lab_width", "Lab_height"});
    makeNamed<QComboBox>(sheet, "Crop_zoom");
    for (const char* name : {"Crop_left", "Crop_right", "Crop_top", "Crop_bottom"}) {
        makeMarginField(sheet, name);
    }
    makeNamed<QCheckBox>(sheet, "CustomSize");
    makeFourDigitEdit(sheet, "width");
    makeFourDigitEdit(sheet, "height");
    makeNamed<ImageButton>(sheet, "Crop_reset_img");
    return sheet;
}

QWidget* TfrmEdit::createEffectSheet()
{
    auto* sheet = makeNamed<QWidget>(tabs_, "EffectSheet");
    makeLabels(sheet, {"bright", "contrast", "saturation", "effect"});
    for (const char* name : {"Effect_bright", "Effect_contrast", "Effect_saturation"}) {
        makeSlider(sheet, name, 20, 10);
    }
    makeNamed<QComboBox>(sheet, "Effect_cmb");
    makeNamed<ImageButton>(sheet, "LR_img");
    makeNamed<ImageButton>(sheet, "UD_img");
    makeNamed<PictureBox>(sheet, "Volume_pic");
    makeSlider(sheet, "AdjustVolume", 510, 255)->setPageStep(2);
    makeNamed<ImageButton>(sheet, "Effect_reset_img");
    return sheet;
}

QWidget* TfrmEdit::createTrimSheet()
{
    auto* sheet = makeNamed<QWidget>(tabs_, "TrimSheet");
    makeLabels(sheet, {"start", "end", "total"});
    for (const char* name : {"StartTime", "EndTime", "TotalTime"}) {
        makeTimeField(sheet, name);
    }
    makeNamed<ImageButton>(sheet, "start_trimtime_ok");
    makeNamed<ImageButton>(sheet, "end_trimtime_ok");
    makeSlider(sheet, "StartTrackBar", 0, 0);
    makeSlider(sheet, "EndTrackBar", 0, 0);
    makeNamed<ImageButton>(sheet, "Trim_reset_img");
    return sheet;
}

void TfrmEdit::createButtons()
{
    makeNamed<QCheckBox>(this, "Edit_apply");
    for (const char* name : {"reset_img", "Edit_ok_img", "Edit_cancel_img"}) {
        makeNamed<ImageButton>(this, name);
    }
}

void TfrmEdit::bindTexts()
{
    const struct {
        const char* name;
        std::vector<I18nRow> rows;
    } table[] = {
        {"CropSheet", {{"Caption", "05001"}}},        {"EffectSheet", {{"Caption", "05002"}}},
        {"TrimSheet", {{"Caption", "05003"}}},        {"zoom", {{"Caption", "04031"}}},
        {"left", {{"Caption", "04032"}}},             {"right", {{"Caption", "04033"}}},
        {"top", {{"Caption", "04034"}}},              {"bottom", {{"Caption", "04035"}}},
        {"bright", {{"Caption", "04036"}}},           {"contrast", {{"Caption", "04037"}}},
        {"saturation", {{"Caption", "04038"}}},       {"effect", {{"Caption", "04039"}}},
        {"start", {{"Caption", "04040"}}},            {"end", {{"Caption", "04041"}}},
        {"total", {{"Caption", "04042"}}},            {"Lab_width", {{"Caption", "04043"}}},
        {"Lab_height", {{"Caption", "04044"}}},       {"CustomSize", {{"Caption", "05021"}}},
        {"Play_img", {{"Hint", "00026"}}},            {"Playtrim_img", {{"Hint", "00042"}}},
        {"Trimstart_img", {{"Hint", "00043"}}},       {"Trimend_img", {{"Hint", "00044"}}},
        {"LR_img", {{"Hint", "00045"}}},              {"UD_img", {{"Hint", "00046"}}},
        {"Edit_ok_img", {{"Caption", "00036"}, {"Hint", "00037"}}},
        {"Edit_cancel_img", {{"Caption", "00038"}, {"Hint", "00039"}}},
        {"Crop_reset_img", {{"Hint", "00004"}, {"Caption", "00004"}}},
        {"Effect_reset_img", {{"Hint", "00004"}, {"Caption", "00004"}}},
        {"Trim_reset_img", {{"Hint", "00004"}, {"Caption", "00004"}}},
        {"start_trimtime_ok", {{"Hint", "00001"}, {"Caption", "00001"}}},
        {"end_trimtime_ok", {{"Hint", "00001"}, {"Caption", "00001"}}},
        {"reset_img", {{"Hint", "00004"}, {"Caption", "00004"}}},
        {"Edit_apply", {{"Caption", "05026"}}},
    };
    for (const auto& entry : table) {
        bindI18nRows(findChild<QObject*>(QLatin1String(entry.name)), entry.rows);
    }
}

void TfrmEdit::hideCustomSize()
{
    for (const char* name : {"CustomSize", "width", "height", "Lab_width", "Lab_height"}) {
        auto* control = findChild<QWidget*>(QLatin1String(name));
        control->hide();
        keepVisibilityOnSkinSwitch({control});
    }
}

void TfrmEdit::applySkinPictures()
{
    SkinWindow::applySkinPictures();
    const QString bar = skinImageFolder() + QStringLiteral("edit/Barpic.bmp");
    findChild<SkinSlider*>(QStringLiteral("StartTrackBar"))->loadBar(bar);
    findChild<SkinSlider*>(QStringLiteral("EndTrackBar"))->loadBar(bar);
}
