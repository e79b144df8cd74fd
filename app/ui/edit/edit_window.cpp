#include "edit_window.h"

#include "fixed_field.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>
#include <cstring>

#include "choice_combo.h"
#include "choice_objects.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "message_box.h"
#include "named_event.h"
#include "named_widget.h"
#include "picture_box.h"
#include "playback_route.h"
#include "player_host.h"
#include "skin_catalogue.h"
#include "skin_folder.h"
#include "skin_slider.h"
#include "vkoPlayerDll.h"
#include "window_events.h"

using editrules::FlipCall;

namespace {

constexpr std::chrono::milliseconds kPlayEventWait{100};
// How often a dragged trim slider moves the preview.
constexpr int kFollowIntervalMs = 80;

SkinSlider* makeSlider(QWidget* parent, const char* name, int maximum, int position)
{
    auto* slider = makeNamed<SkinSlider>(parent, name);
    slider->setRange(0, maximum);
    slider->setValue(position);
    return slider;
}

QSpinBox* makeMarginField(QWidget* parent, const char* name)
{
    auto* field = makeNamed<QSpinBox>(parent, name);
    field->setRange(0, 10000);
    field->setButtonSymbols(QAbstractSpinBox::NoButtons);
    return field;
}

QTimeEdit* makeTimeField(QWidget* parent, const char* name)
{
    auto* field = makeNamed<QTimeEdit>(parent, name);
    field->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    field->setButtonSymbols(QAbstractSpinBox::NoButtons);
    field->setAlignment(Qt::AlignCenter);
    return field;
}

void makeLabels(QWidget* parent, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        makeNamed<QLabel>(parent, name);
    }
}

void showClock(QTimeEdit* field, int seconds)
{
    field->setTime(QTime(0, 0).addSecs(seconds));
}

int clockSeconds(const QTimeEdit* field)
{
    const QTime time = field->time();
    return editrules::secondsOfClock(time.hour(), time.minute(), time.second());
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

PlayerCommand commandOf(FlipCall call)
{
    switch (call) {
    case FlipCall::VerticalFlip: return PlayerCommand::VerticalFlip;
    case FlipCall::HorizontalFlip: return PlayerCommand::HorizontalFlip;
    case FlipCall::NoFlip: break;
    }
    return PlayerCommand::NoFlip;
}

// The edit window that gets the player's crop reports; written on the GUI thread.
std::atomic<QObject*> cropListener{nullptr};

void postCropReport(int32_t top, int32_t bottom, int32_t left, int32_t right)
{
    if (QObject* window = cropListener) {
        postToWindow(window, MSG_EDIT_CROP_TOP_BOTTOM, static_cast<uintptr_t>(top), bottom);
        postToWindow(window, MSG_EDIT_CROP_LEFT_RIGHT, static_cast<uintptr_t>(left), right);
    }
}

PlayCropCallback cropSlot = postCropReport;

} // namespace

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
    for (QWidget* control : std::initializer_list<QWidget*>{customSize_, width_, height_, widthLabel_, heightLabel_}) {
        control->hide();
    }
    keepVisibilityOnSkinSwitch({customSize_, width_, height_, widthLabel_, heightLabel_});
    setDragBackground(background);
    bindTexts();
    connectControls();
    playEvent_ = NamedEvent::open("Play", true);
    playback::setListener(playback::kEditOwner, this, &isSeeking_);
    cropListener = this;
}

TfrmEdit::~TfrmEdit()
{
    // The host is another window's member: it must not go with the panel.
    if (playerHost_ && playerHost_->parentWidget() == playPanel_) {
        playerHost_->setParent(nullptr);
    }
    playback::setListener(playback::kEditOwner, nullptr, nullptr);
    cropListener = nullptr;
}

void TfrmEdit::createPlayerControls()
{
    close_ = makeNamed<ImageButton>(this, "close");
    playPanel_ = makeNamed<QWidget>(this, "TrimPlayPanel");
    totalTrackBar_ = makeSlider(this, "TotalTrackBar", 0, 0);
    play_ = makeNamed<ImageButton>(this, "Play_img");
    playTrim_ = makeNamed<ImageButton>(this, "Playtrim_img");
    trimStartButton_ = makeNamed<ImageButton>(this, "Trimstart_img");
    trimEndButton_ = makeNamed<ImageButton>(this, "Trimend_img");
}

QWidget* TfrmEdit::createCropSheet()
{
    auto* sheet = makeNamed<QWidget>(tabs_, "CropSheet");
    makeLabels(sheet, {"zoom", "left", "right", "top", "bottom"});
    widthLabel_ = makeNamed<QLabel>(sheet, "Lab_width");
    heightLabel_ = makeNamed<QLabel>(sheet, "Lab_height");
    zoom_ = makeNamed<QComboBox>(sheet, "Crop_zoom");
    marginFields_[Left] = makeMarginField(sheet, "Crop_left");
    marginFields_[Right] = makeMarginField(sheet, "Crop_right");
    marginFields_[Top] = makeMarginField(sheet, "Crop_top");
    marginFields_[Bottom] = makeMarginField(sheet, "Crop_bottom");
    customSize_ = makeNamed<QCheckBox>(sheet, "CustomSize");
    width_ = makeFourDigitEdit(sheet, "width");
    height_ = makeFourDigitEdit(sheet, "height");
    cropReset_ = makeNamed<ImageButton>(sheet, "Crop_reset_img");
    return sheet;
}

QWidget* TfrmEdit::createEffectSheet()
{
    auto* sheet = makeNamed<QWidget>(tabs_, "EffectSheet");
    makeLabels(sheet, {"bright", "contrast", "saturation", "effect"});
    brightness_ = makeSlider(sheet, "Effect_bright", 20, 10);
    contrast_ = makeSlider(sheet, "Effect_contrast", 20, 10);
    saturation_ = makeSlider(sheet, "Effect_saturation", 20, 10);
    effect_ = makeNamed<QComboBox>(sheet, "Effect_cmb");
    leftRight_ = makeNamed<ImageButton>(sheet, "LR_img");
    upDown_ = makeNamed<ImageButton>(sheet, "UD_img");
    // On while its flip is on; the flip state decides, not the click.
    for (ImageButton* flip : {leftRight_, upDown_}) {
        flip->setCheckable(true);
        flip->setAutoExclusive(false);
    }
    makeNamed<PictureBox>(sheet, "Volume_pic");
    volume_ = makeSlider(sheet, "AdjustVolume", 510, 255);
    volume_->setPageStep(2);
    effectReset_ = makeNamed<ImageButton>(sheet, "Effect_reset_img");
    return sheet;
}

QWidget* TfrmEdit::createTrimSheet()
{
    auto* sheet = makeNamed<QWidget>(tabs_, "TrimSheet");
    makeLabels(sheet, {"start", "end", "total"});
    startTime_ = makeTimeField(sheet, "StartTime");
    endTime_ = makeTimeField(sheet, "EndTime");
    totalTime_ = makeTimeField(sheet, "TotalTime");
    totalTime_->setReadOnly(true);
    startTimeOk_ = makeNamed<ImageButton>(sheet, "start_trimtime_ok");
    endTimeOk_ = makeNamed<ImageButton>(sheet, "end_trimtime_ok");
    startTrackBar_ = makeSlider(sheet, "StartTrackBar", 0, 0);
    endTrackBar_ = makeSlider(sheet, "EndTrackBar", 0, 0);
    trimReset_ = makeNamed<ImageButton>(sheet, "Trim_reset_img");
    return sheet;
}

void TfrmEdit::createButtons()
{
    applyToAll_ = makeNamed<QCheckBox>(this, "Edit_apply");
    resetAll_ = makeNamed<ImageButton>(this, "reset_img");
    ok_ = makeNamed<ImageButton>(this, "Edit_ok_img");
    cancel_ = makeNamed<ImageButton>(this, "Edit_cancel_img");
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

void TfrmEdit::connectControls()
{
    connectCropControls();
    connectEffectControls();
    connectTrimControls();
    connectPreviewControls();
    connect(close_, &ImageButton::clicked, this, &TfrmEdit::close);
    connect(cancel_, &ImageButton::clicked, this, &TfrmEdit::close);
    connect(ok_, &ImageButton::clicked, this, &TfrmEdit::confirm);
    setDialogButtons(ok_, cancel_);
    connect(resetAll_, &ImageButton::clicked, this, [this] {
        resetCrop();
        resetEffect();
        resetTrim();
    });
}

void TfrmEdit::connectCropControls()
{
    for (int margin = 0; margin < MarginCount; ++margin) {
        marginFields_[margin]->installEventFilter(this);
        connect(marginFields_[margin], &QSpinBox::textChanged, this,
                [this, margin](const QString& text) { marginEdited(static_cast<Margin>(margin), text); });
    }
    width_->installEventFilter(this);
    height_->installEventFilter(this);
    connect(width_, &QLineEdit::textEdited, this, [this] { sizeEdited(width_, height_, true); });
    connect(height_, &QLineEdit::textEdited, this, [this] { sizeEdited(height_, width_, false); });
    connect(zoom_, &QComboBox::currentIndexChanged, this, [this] {
        char zoom[20] = "";
        // Refilling the list (a language change) passes through no selection: nothing to decide.
        if (job_ != nullptr && getChoiceValue(zoom, zoom_)) {
            applyCustomSizeRule(zoom);
        }
    });
    connect(customSize_, &QCheckBox::clicked, this, &TfrmEdit::customSizeClicked);
    connect(cropReset_, &ImageButton::clicked, this, &TfrmEdit::resetCrop);
}

void TfrmEdit::connectEffectControls()
{
    connect(brightness_, &QSlider::valueChanged, this,
            [this](int p) { send(PlayerCommand::Brightness, editrules::effectValueOfPosition(p)); });
    connect(contrast_, &QSlider::valueChanged, this,
            [this](int p) { send(PlayerCommand::Contrast, editrules::effectValueOfPosition(p)); });
    connect(saturation_, &QSlider::valueChanged, this,
            [this](int p) { send(PlayerCommand::Saturation, editrules::effectValueOfPosition(p)); });
    connect(effect_, &QComboBox::currentIndexChanged, this, [this] { sendPictureEffect(selectedEffect()); });
    connect(leftRight_, &ImageButton::clicked, this, [this] { toggleFlip(FlipCall::HorizontalFlip); });
    connect(upDown_, &ImageButton::clicked, this, [this] { toggleFlip(FlipCall::VerticalFlip); });
    connect(volume_, &QSlider::valueChanged, this, &TfrmEdit::volumeMoved);
    connect(effectReset_, &ImageButton::clicked, this, &TfrmEdit::resetEffect);
}

void TfrmEdit::connectTrimControls()
{
    connect(startTrackBar_, &QSlider::valueChanged, this, &TfrmEdit::startSliderMoved);
    connect(endTrackBar_, &QSlider::valueChanged, this, &TfrmEdit::endSliderMoved);
    connect(trimStartButton_, &ImageButton::clicked, this, [this] {
        trimStart_ = totalTrackBar_->value();
        startTrackBar_->setValue(trimStart_);
    });
    connect(trimEndButton_, &ImageButton::clicked, this, [this] {
        trimEnd_ = totalTrackBar_->value();
        endTrackBar_->setValue(trimEnd_);
    });
    connect(startTimeOk_, &ImageButton::clicked, this, &TfrmEdit::confirmTypedStart);
    connect(endTimeOk_, &ImageButton::clicked, this, &TfrmEdit::confirmTypedEnd);
    connect(startTime_, &QTimeEdit::editingFinished, this, &TfrmEdit::confirmTypedStart);
    connect(endTime_, &QTimeEdit::editingFinished, this, &TfrmEdit::confirmTypedEnd);
    for (QTimeEdit* field : {startTime_, endTime_})
        field->installEventFilter(this);
    connect(trimReset_, &ImageButton::clicked, this, &TfrmEdit::resetTrim);
}

void TfrmEdit::connectPreviewControls()
{
    connect(totalTrackBar_, &QSlider::sliderPressed, this, &TfrmEdit::beginSeek);
    connect(totalTrackBar_, &QSlider::sliderReleased, this, [this] { endSeek(totalTrackBar_->value()); });
    connect(playTrim_, &ImageButton::pressed, this, &TfrmEdit::beginSeek);
    connect(playTrim_, &ImageButton::released, this, [this] { endSeek(startTrackBar_->value()); });
    connect(play_, &ImageButton::clicked, this, &TfrmEdit::playClicked);
    for (SkinSlider* trim : {startTrackBar_, endTrackBar_}) {
        connect(trim, &QSlider::sliderPressed, this, &TfrmEdit::beginSeek);
        connect(trim, &QSlider::sliderMoved, this, &TfrmEdit::followTrimSlider);
        connect(trim, &QSlider::sliderReleased, this, [this, trim] {
            followTimer_.stop();
            endSeek(trim->value());
        });
    }
    followTimer_.setSingleShot(true);
    followTimer_.setInterval(kFollowIntervalMs);
    connect(&followTimer_, &QTimer::timeout, this, &TfrmEdit::seekToFollowed);
}

void TfrmEdit::loadSliderPictures()
{
    const QString bar = skinPictureFile(skinImageFolder() + QStringLiteral("edit/Barpic.bmp"));
    startTrackBar_->loadBar(bar);
    endTrackBar_->loadBar(bar);
}

void TfrmEdit::applySkinPictures()
{
    SkinWindow::applySkinPictures();
    loadSliderPictures();
    showPlayState();
}

// ---- showing and loading -------------------------------------------------------------------

void TfrmEdit::editJob(NodeSettingInfo& job, std::vector<NodeSettingInfo*> allJobs)
{
    job_ = &job;
    allJobs_ = std::move(allJobs);
    prepareControls();
    setWindowModality(Qt::ApplicationModal);
    show();
    open_ = true;
    startPreview();
    loadJob();
    send(PlayerCommand::Crop);
    volume_->setToolTip(QString::number(volume_->value()));
}

void TfrmEdit::prepareControls()
{
    applyToAll_->setChecked(false);
    const bool video = job_->profile != nullptr && job_->profile->mediaType == 0;
    for (QWidget* control : std::initializer_list<QWidget*>{zoom_, marginFields_[Left], marginFields_[Right],
                                                             marginFields_[Top], marginFields_[Bottom], brightness_,
                                                             contrast_, saturation_, effect_, leftRight_, upDown_}) {
        control->setEnabled(video);
    }
    totalTrackBar_->setValue(0);
    tabs_->setCurrentIndex(0);
    applyI18nAll();
    {
        const QSignalBlocker zoomBlocker(zoom_);
        const QSignalBlocker effectBlocker(effect_);
        fillConstChoices(zoom_, {{ChoiceValue::ofText("original"), "05011"},
                                 {ChoiceValue::ofText("full"), "05012"},
                                 {ChoiceValue::ofText("16:9"), "05013"},
                                 {ChoiceValue::ofText("4:3"), "05014"}});
        fillConstChoices(effect_, {{ChoiceValue::ofInteger(0), "05015"},
                                   {ChoiceValue::ofInteger(1), "05016"},
                                   {ChoiceValue::ofInteger(2), "05017"},
                                   {ChoiceValue::ofInteger(3), "05018"}});
    }
    const int duration = durationSeconds();
    for (SkinSlider* slider : {totalTrackBar_, startTrackBar_, endTrackBar_}) {
        const QSignalBlocker blocker(slider);
        slider->setMaximum(duration);
    }
    applyCustomSizeRule(job_->crop.zoom);
    loadSliderPictures();
}

void TfrmEdit::loadJob()
{
    const CropSetting& crop = job_->crop;
    setMargins({crop.top, crop.bottom, crop.left, crop.right});
    {
        const QSignalBlocker blocker(zoom_);
        selectChoiceByValue(zoom_, crop.zoom);
    }
    sendMargins();

    const EffectSetting& effect = job_->effect;
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

    trimStart_ = job_->trim.start;
    trimEnd_ = job_->trim.end;
    refreshStart();
    refreshEnd();
    startTrackBar_->setValue(trimStart_);
    endTrackBar_->setValue(trimEnd_);
}

int TfrmEdit::sourceWidth() const
{
    return job_ && job_->owner ? job_->owner->fileInfo.width : 0;
}

int TfrmEdit::sourceHeight() const
{
    return job_ && job_->owner ? job_->owner->fileInfo.height : 0;
}

int TfrmEdit::durationSeconds() const
{
    return job_ && job_->owner ? job_->owner->fileInfo.durationWholeSeconds : 0;
}

// ---- trim ----------------------------------------------------------------------------------

void TfrmEdit::startSliderMoved(int position)
{
    trimStart_ = position;
    const int place = editrules::startSliderPlace(position, trimEnd_);
    if (place == position) {
        refreshStart();
    } else {
        startTrackBar_->setValue(place);
    }
}

void TfrmEdit::endSliderMoved(int position)
{
    trimEnd_ = position;
    const int place = editrules::endSliderPlace(position, trimStart_);
    if (place == position) {
        refreshEnd();
    } else {
        endTrackBar_->setValue(place);
    }
}

void TfrmEdit::refreshStart()
{
    showClock(startTime_, trimStart_);
    refreshTotal();
}

void TfrmEdit::refreshEnd()
{
    showClock(endTime_, trimEnd_);
    refreshTotal();
}

void TfrmEdit::refreshTotal()
{
    showClock(totalTime_, std::max(0, trimEnd_ - trimStart_));
}

void TfrmEdit::confirmTypedStart()
{
    const int seconds = clockSeconds(startTime_);
    if (seconds < trimEnd_) {
        trimStart_ = seconds;
        startTrackBar_->setValue(seconds);
        refreshStart();
        return;
    }
    trimStart_ = startTrackBar_->value();
    refreshStart();
    showPlainMessage(this, QStringLiteral("Start time error"));
}

void TfrmEdit::confirmTypedEnd()
{
    const int seconds = clockSeconds(endTime_);
    if (trimStart_ < seconds) {
        trimEnd_ = seconds;
        endTrackBar_->setValue(seconds);
        refreshEnd();
        return;
    }
    trimEnd_ = endTrackBar_->value();
    refreshEnd();
    showPlainMessage(this, QStringLiteral("End time error"));
}

// ---- crop and custom size ------------------------------------------------------------------

bool TfrmEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return SkinWindow::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == startTime_ || watched == endTime_) {
        // Enter applies the typed time (as leaving the field does) and leaves the window open.
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if (watched == startTime_)
            confirmTypedStart();
        else
            confirmTypedEnd();
        return true;
    }
    const QString text = key->text();
    // Keys without a character (arrows, Delete), shortcuts and focus moves pass; characters other
    // than digits, Enter and Backspace are dropped.
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

void TfrmEdit::marginEdited(Margin margin, const QString& text)
{
    if (text.isEmpty() || job_ == nullptr) {
        return;
    }
    bool number = false;
    const int value = text.toInt(&number);
    if (!number) {
        return;
    }
    const Margin opposite = static_cast<Margin>(margin ^ 1);
    const int side = margin == Top || margin == Bottom ? sourceHeight() : sourceWidth();
    if (!editrules::marginsFit(value, margins_[opposite], side)) {
        const QSignalBlocker blocker(marginFields_[margin]);
        marginFields_[margin]->setValue(margins_[margin]);
        showPlainMessage(this, QStringLiteral("Crop error!"));
        return;
    }
    margins_[margin] = value;
    static constexpr PlayerCommand commands[] = {PlayerCommand::TopCrop, PlayerCommand::BottomCrop,
                                                 PlayerCommand::LeftCrop, PlayerCommand::RightCrop};
    send(commands[margin], value);
}

void TfrmEdit::setMargins(const std::array<int, MarginCount>& margins)
{
    margins_ = margins;
    for (int margin = 0; margin < MarginCount; ++margin) {
        const QSignalBlocker blocker(marginFields_[margin]);
        marginFields_[margin]->setValue(margins[margin]);
    }
}

void TfrmEdit::sendMargins()
{
    send(PlayerCommand::TopCrop, margins_[Top]);
    send(PlayerCommand::BottomCrop, margins_[Bottom]);
    send(PlayerCommand::LeftCrop, margins_[Left]);
    send(PlayerCommand::RightCrop, margins_[Right]);
}

void TfrmEdit::reportedCrop(Margin first, int firstValue, int secondValue)
{
    const Margin second = static_cast<Margin>(first + 1);
    const bool vertical = first == Top;
    // The pair is checked as a whole: setting one margin after the other could refuse a valid
    // report against the other's old value.
    const QSignalBlocker firstBlocker(marginFields_[first]);
    const QSignalBlocker secondBlocker(marginFields_[second]);
    if (firstValue < 0 || secondValue < 0 ||
        !editrules::marginsFit(firstValue, secondValue, vertical ? sourceHeight() : sourceWidth())) {
        showPlainMessage(this, QStringLiteral("Crop error!"));
        return;
    }
    marginFields_[first]->setValue(firstValue);
    marginFields_[second]->setValue(secondValue);
    margins_[first] = firstValue;
    margins_[second] = secondValue;
    send(vertical ? PlayerCommand::TopCrop : PlayerCommand::LeftCrop, firstValue);
    send(vertical ? PlayerCommand::BottomCrop : PlayerCommand::RightCrop, secondValue);
    QLineEdit* size = vertical ? height_ : width_;
    size->setText(QString::number(vertical ? croppedHeight() : croppedWidth()));
    acceptedSize_ = {width_->text(), height_->text()};
}

void TfrmEdit::applyCustomSizeRule(const std::string& zoom)
{
    const ProfileSettingInfo* profile = job_ ? job_->profile : nullptr;
    const bool shown = profile != nullptr && editrules::customSizeShown(profile->mediaType, profile->format, zoom);
    for (QWidget* control : std::initializer_list<QWidget*>{customSize_, width_, height_, widthLabel_, heightLabel_}) {
        control->setVisible(shown);
    }
    if (!shown) {
        return;
    }
    customSize_->setChecked(job_->crop.customSize != 0);
    loadCustomSizeTexts();
}

void TfrmEdit::customSizeClicked(bool checked)
{
    job_->crop.customSize = checked ? 1 : 0;
    loadCustomSizeTexts();
}

void TfrmEdit::loadCustomSizeTexts()
{
    const bool custom = job_->crop.customSize != 0;
    width_->setEnabled(custom);
    height_->setEnabled(custom);
    width_->setText(QString::fromLatin1(job_->crop.customWidth));
    height_->setText(QString::fromLatin1(job_->crop.customHeight));
    acceptedSize_ = {width_->text(), height_->text()};
}

void TfrmEdit::sizeEdited(QLineEdit* edited, QLineEdit* other, bool widthEdited)
{
    const QString text = edited->text();
    if (text.isEmpty()) {
        other->clear();
        return;
    }
    const std::optional<int> typed = editrules::parseSizeText(text.toStdString());
    if (!typed) {
        return;
    }
    const int croppedThis = widthEdited ? croppedWidth() : croppedHeight();
    const int croppedOther = widthEdited ? croppedHeight() : croppedWidth();
    if (croppedThis > 0 && croppedOther > 0) {
        const std::optional<int> side = editrules::keptAspectSide(*typed, croppedThis, croppedOther);
        if (!side) {
            // The other side would not fit its four digits: the edit is refused.
            edited->setText(widthEdited ? acceptedSize_.first : acceptedSize_.second);
            return;
        }
        other->setText(QString::number(*side));
    }
    edited->setText(QString::number(*typed));
    acceptedSize_ = {width_->text(), height_->text()};
}

int TfrmEdit::croppedWidth() const
{
    return sourceWidth() - margins_[Left] - margins_[Right];
}

int TfrmEdit::croppedHeight() const
{
    return sourceHeight() - margins_[Top] - margins_[Bottom];
}

// ---- effects, flips, volume ----------------------------------------------------------------

int TfrmEdit::selectedEffect() const
{
    int32_t effect = 0;
    getChoiceValue(&effect, effect_);
    return effect;
}

void TfrmEdit::sendEffectValues()
{
    send(PlayerCommand::Brightness, editrules::effectValueOfPosition(brightness_->value()));
    send(PlayerCommand::Contrast, editrules::effectValueOfPosition(contrast_->value()));
    send(PlayerCommand::Saturation, editrules::effectValueOfPosition(saturation_->value()));
}

void TfrmEdit::sendPictureEffect(int effect)
{
    static constexpr PlayerCommand commands[] = {PlayerCommand::NoEffect, PlayerCommand::Gray,
                                                 PlayerCommand::Emboss, PlayerCommand::Old};
    if (effect >= 0 && effect < 4) {
        send(commands[effect]);
    }
}

void TfrmEdit::sendFlips(const std::vector<FlipCall>& calls)
{
    for (FlipCall call : calls) {
        send(commandOf(call));
    }
    showFlipStates();
}

void TfrmEdit::showFlipStates()
{
    leftRight_->setChecked(horizontalFlip_ != 0);
    upDown_->setChecked(verticalFlip_ != 0);
}

void TfrmEdit::toggleFlip(FlipCall flip)
{
    const bool vertical = flip == FlipCall::VerticalFlip;
    int& toggled = vertical ? verticalFlip_ : horizontalFlip_;
    toggled = toggled ? 0 : 1;
    sendFlips(editrules::flipToggleCalls(flip, toggled != 0, (vertical ? horizontalFlip_ : verticalFlip_) != 0));
}

void TfrmEdit::volumeMoved(int position)
{
    send(PlayerCommand::OutputVolume, editrules::volumeWord(position));
    volume_->setToolTip(QString::number(position));
}

// ---- writing into the job ------------------------------------------------------------------

void TfrmEdit::confirm()
{
    if (applyToAll_->isChecked()) {
        for (NodeSettingInfo* job : allJobs_) {
            writeEffect(*job);
        }
    }
    writeEffect(*job_);
    writeCrop();
    writeTrim();
    close();
}

void TfrmEdit::writeCrop()
{
    CropSetting& crop = job_->crop;
    getChoiceValue(crop.zoom, zoom_);
    crop.top = margins_[Top];
    crop.bottom = margins_[Bottom];
    crop.left = margins_[Left];
    crop.right = margins_[Right];
    if (crop.customSize) {
        copyCut(crop.customWidth, width_->text().toLatin1().toStdString());
        copyCut(crop.customHeight, height_->text().toLatin1().toStdString());
    }
}

void TfrmEdit::writeEffect(NodeSettingInfo& job) const
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

void TfrmEdit::writeTrim()
{
    job_->trim.start = trimStart_;
    job_->trim.end = trimEnd_;
    if (job_->owner) {
        copyCut(job_->owner->display.trimmedLength, editrules::formatClock(std::max(0, trimEnd_ - trimStart_)));
    }
}

void TfrmEdit::resetCrop()
{
    {
        const QSignalBlocker blocker(zoom_);
        zoom_->setCurrentIndex(0);
    }
    setMargins({0, 0, 0, 0});
    writeCrop();
    sendMargins();
    applyCustomSizeRule(job_->crop.zoom);
}

void TfrmEdit::resetEffect()
{
    for (QWidget* blocked : std::initializer_list<QWidget*>{effect_, brightness_, contrast_, saturation_, volume_}) {
        blocked->blockSignals(true);
    }
    effect_->setCurrentIndex(0);
    verticalFlip_ = 0;
    horizontalFlip_ = 0;
    brightness_->setValue(10);
    contrast_->setValue(10);
    saturation_->setValue(10);
    volume_->setValue(255);
    for (QWidget* blocked : std::initializer_list<QWidget*>{effect_, brightness_, contrast_, saturation_, volume_}) {
        blocked->blockSignals(false);
    }
    writeEffect(*job_);
    sendEffectValues();
    send(PlayerCommand::NoFlip);
    showFlipStates();
    send(PlayerCommand::NoEffect);
    volumeMoved(volume_->value());
}

void TfrmEdit::resetTrim()
{
    trimStart_ = 0;
    trimEnd_ = durationSeconds();
    job_->trim = {trimStart_, trimEnd_};
    endTrackBar_->setValue(trimEnd_);
    startTrackBar_->setValue(trimStart_);
    refreshStart();
    refreshEnd();
    writeTrim();
}

// ---- preview playback ----------------------------------------------------------------------

void TfrmEdit::send(PlayerCommand command, int64_t argument) const
{
    player_(PlayerCall{command, argument});
}

void TfrmEdit::startPreview()
{
    if (playerHost_) {
        playerHost_->placeInto(playPanel_);
        playerHost_->setCropDragEnabled(true);
    }
    setPlayerHandle(playback::progressSlot());
    const SkinItem* panel = skinItem(playPanel_->objectName());
    initPanelPlayer(playPanel_, panel ? QSize(panel->width, panel->height) : playPanel_->size());
    playback::setOwner(playback::kEditOwner);
    setCropHandle(&cropSlot);
    pendingSeeks_ = 0;
    seekTarget_ = -1;
    isSeeking_ = false;
    openFile(job_->owner ? job_->owner->fileInfo.path : "");
    send(PlayerCommand::Start, 0);
    isPlaying_ = true;
    showPlayState();
}

void TfrmEdit::endPreview()
{
    followTimer_.stop();
    send(PlayerCommand::Stop, 1);
    send(PlayerCommand::Close);
    isPlaying_ = false;
}

void TfrmEdit::hideEvent(QHideEvent* event)
{
    SkinWindow::hideEvent(event);
    if (!open_) {
        return;
    }
    open_ = false;
    endPreview();
    job_ = nullptr;
    allJobs_.clear();
    emit closed();
}

void TfrmEdit::beginSeek()
{
    playEvent_->wait(kPlayEventWait);
    send(PlayerCommand::Stop, 0);
    ++pendingSeeks_;
    isSeeking_ = true;
}

void TfrmEdit::endSeek(int target)
{
    seekTarget_ = target;
    playEvent_->wait(kPlayEventWait);
    if (seekTarget_ != -1) {
        send(PlayerCommand::Start, seekTarget_);
        seekTarget_ = -1;
        isPlaying_ = true;
        showPlayState();
    }
    playEvent_->signal();
    isSeeking_ = false;
}

void TfrmEdit::followTrimSlider(int position)
{
    followTarget_ = position;
    if (!followTimer_.isActive()) {
        followTimer_.start();
    }
}

void TfrmEdit::seekToFollowed()
{
    if (!isSeeking_ || followTarget_ < 0) {
        return;
    }
    send(PlayerCommand::Stop, 0);
    send(PlayerCommand::Start, followTarget_);
}

void TfrmEdit::playClicked()
{
    if (isPlaying_) {
        send(PlayerCommand::Pause);
        isPlaying_ = false;
    } else {
        send(PlayerCommand::Start, 0);
        isPlaying_ = true;
    }
    showPlayState();
}

void TfrmEdit::showPlayState()
{
    loadButtonPictures(play_, isPlaying_ ? QStringLiteral("Play_img") : QStringLiteral("Pause_img"));
}

void TfrmEdit::playPosition(int seconds)
{
    if (pendingSeeks_ == 0) {
        totalTrackBar_->setValue(seconds);
        return;
    }
    --pendingSeeks_;
    playEvent_->signal();
}

void TfrmEdit::customEvent(QEvent* event)
{
    const auto type = static_cast<unsigned>(event->type());
    if (type != MSG_EDIT_PLAY_POSITION && type != MSG_EDIT_CROP_TOP_BOTTOM && type != MSG_EDIT_CROP_LEFT_RIGHT) {
        SkinWindow::customEvent(event);
        return;
    }
    const auto* message = static_cast<WindowMessageEvent*>(event);
    if (!open_) {
        return;
    }
    const int word = static_cast<int>(message->wParam());
    const int lng = static_cast<int>(message->lParam());
    if (type == MSG_EDIT_PLAY_POSITION) {
        playPosition(word);
    } else {
        reportedCrop(type == MSG_EDIT_CROP_TOP_BOTTOM ? Top : Left, word, lng);
    }
}
