#include "effect_sheet.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "choice_combo.h"
#include "edit_sheet.h"
#include "image_button.h"
#include "named_widget.h"
#include "picture_box.h"
#include "preview_controller.h"
#include "skin_slider.h"

using editrules::FlipCall;

namespace {

PlayerCommand commandOf(FlipCall call)
{
    switch (call) {
    case FlipCall::VerticalFlip: return PlayerCommand::VerticalFlip;
    case FlipCall::HorizontalFlip: return PlayerCommand::HorizontalFlip;
    case FlipCall::NoFlip: break;
    }
    return PlayerCommand::NoFlip;
}

} // namespace

EffectSheet::EffectSheet(QWidget* parent, const PreviewController& preview) : QWidget(parent), preview_(preview)
{
    setObjectName(QStringLiteral("EffectSheet"));
    editsheet::makeLabels(this, {"bright", "contrast", "saturation", "effect"});
    brightness_ = editsheet::makeSlider(this, "Effect_bright", 20, 10);
    contrast_ = editsheet::makeSlider(this, "Effect_contrast", 20, 10);
    saturation_ = editsheet::makeSlider(this, "Effect_saturation", 20, 10);
    effect_ = makeNamed<QComboBox>(this, "Effect_cmb");
    leftRight_ = makeNamed<ImageButton>(this, "LR_img");
    upDown_ = makeNamed<ImageButton>(this, "UD_img");
    // On while its flip is on; the flip state decides, not the click.
    for (ImageButton* flip : {leftRight_, upDown_}) {
        flip->setCheckable(true);
        flip->setAutoExclusive(false);
    }
    makeNamed<PictureBox>(this, "Volume_pic");
    volume_ = editsheet::makeSlider(this, "AdjustVolume", 510, 255);
    volume_->setPageStep(2);
    effectReset_ = makeNamed<ImageButton>(this, "Effect_reset_img");
    connectControls();
}

void EffectSheet::connectControls()
{
    connect(brightness_, &QSlider::valueChanged, this,
            [this](int p) { preview_.send(PlayerCommand::Brightness, editrules::effectValueOfPosition(p)); });
    connect(contrast_, &QSlider::valueChanged, this,
            [this](int p) { preview_.send(PlayerCommand::Contrast, editrules::effectValueOfPosition(p)); });
    connect(saturation_, &QSlider::valueChanged, this,
            [this](int p) { preview_.send(PlayerCommand::Saturation, editrules::effectValueOfPosition(p)); });
    connect(effect_, &QComboBox::currentIndexChanged, this, [this] { sendPictureEffect(selectedEffect()); });
    connect(leftRight_, &ImageButton::clicked, this, [this] { toggleFlip(FlipCall::HorizontalFlip); });
    connect(upDown_, &ImageButton::clicked, this, [this] { toggleFlip(FlipCall::VerticalFlip); });
    connect(volume_, &QSlider::valueChanged, this, &EffectSheet::volumeMoved);
    connect(effectReset_, &ImageButton::clicked, this, &EffectSheet::reset);
}

void EffectSheet::fillChoices()
{
    const QSignalBlocker blocker(effect_);
    editsheet::fillConstChoices(effect_, {{ChoiceValue::ofInteger(0), "05015"},
                                          {ChoiceValue::ofInteger(1), "05016"},
                                          {ChoiceValue::ofInteger(2), "05017"},
                                          {ChoiceValue::ofInteger(3), "05018"}});
}

void EffectSheet::enablePictureControls(bool video)
{
    for (QWidget* control :
         std::initializer_list<QWidget*>{brightness_, contrast_, saturation_, effect_, leftRight_, upDown_}) {
        control->setEnabled(video);
    }
}

void EffectSheet::load(NodeSettingInfo& job)
{
    job_ = &job;
    const EffectSetting& effect = job.effect;
    verticalFlip_ = effect.verticalFlip;
    horizontalFlip_ = effect.horizontalFlip;
    const std::pair<SkinSlider*, int> sliders[] = {
        {brightness_, effect.brightness}, {contrast_, effect.contrast}, {saturation_, effect.saturation}};
    for (const auto& [slider, value] : sliders) {
        const QSignalBlocker blocker(slider);
        slider->setValue(editrules::effectPositionOfValue(value));
    }
    {
        const QSignalBlocker blocker(effect_);
        selectChoiceByValue(effect_, &effect.pictureEffect);
    }
    sendEffectValues();
    sendFlips(editrules::flipStateCalls(verticalFlip_, horizontalFlip_));
    sendPictureEffect(selectedEffect());

    {
        const QSignalBlocker blocker(volume_);
        volume_->setValue(effect.volume);
    }
    volumeMoved(volume_->value());
}

int EffectSheet::selectedEffect() const
{
    int32_t effect = 0;
    getChoiceValue(&effect, effect_);
    return effect;
}

void EffectSheet::sendEffectValues()
{
    preview_.send(PlayerCommand::Brightness, editrules::effectValueOfPosition(brightness_->value()));
    preview_.send(PlayerCommand::Contrast, editrules::effectValueOfPosition(contrast_->value()));
    preview_.send(PlayerCommand::Saturation, editrules::effectValueOfPosition(saturation_->value()));
}

void EffectSheet::sendPictureEffect(int effect)
{
    static constexpr PlayerCommand commands[] = {PlayerCommand::NoEffect, PlayerCommand::Gray,
                                                 PlayerCommand::Emboss, PlayerCommand::Old};
    if (effect >= 0 && effect < 4) {
        preview_.send(commands[effect]);
    }
}

void EffectSheet::sendFlips(const std::vector<FlipCall>& calls)
{
    for (FlipCall call : calls) {
        preview_.send(commandOf(call));
    }
    showFlipStates();
}

void EffectSheet::showFlipStates()
{
    leftRight_->setChecked(horizontalFlip_ != 0);
    upDown_->setChecked(verticalFlip_ != 0);
}

void EffectSheet::toggleFlip(FlipCall flip)
{
    const bool vertical = flip == FlipCall::VerticalFlip;
    int& toggled = vertical ? verticalFlip_ : horizontalFlip_;
    toggled = toggled ? 0 : 1;
    sendFlips(editrules::flipToggleCalls(flip, toggled != 0, (vertical ? horizontalFlip_ : verticalFlip_) != 0));
}

void EffectSheet::volumeMoved(int position)
{
    preview_.send(PlayerCommand::OutputVolume, editrules::volumeWord(position));
    volume_->setToolTip(QString::number(position));
}

void EffectSheet::write(NodeSettingInfo& job) const
{
    EffectSetting& effect = job.effect;
    effect.pictureEffect = selectedEffect();
    effect.verticalFlip = verticalFlip_;
    effect.horizontalFlip = horizontalFlip_;
    effect.brightness = editrules::effectValueOfPosition(brightness_->value());
    effect.contrast = editrules::effectValueOfPosition(contrast_->value());
    effect.saturation = editrules::effectValueOfPosition(saturation_->value());
    effect.volume = volume_->value();
}

void EffectSheet::reset()
{
    const std::initializer_list<QWidget*> blocked = {effect_, brightness_, contrast_, saturation_, volume_};
    for (QWidget* control : blocked) {
        control->blockSignals(true);
    }
    effect_->setCurrentIndex(0);
    verticalFlip_ = 0;
    horizontalFlip_ = 0;
    brightness_->setValue(10);
    contrast_->setValue(10);
    saturation_->setValue(10);
    volume_->setValue(255);
    for (QWidget* control : blocked) {
        control->blockSignals(false);
    }
    write(*job_);
    sendEffectValues();
    preview_.send(PlayerCommand::NoFlip);
    showFlipStates();
    preview_.send(PlayerCommand::NoEffect);
    volumeMoved(volume_->value());
}
