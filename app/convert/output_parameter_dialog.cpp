#include "output_parameter_dialog.h"

#include "fixed_field.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <charconv>
#include <optional>
#include <cstdio>
#include <cstring>

#include "choice_combo.h"
#include "choice_objects.h"
#include "fp_exceptions.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "job_rows.h"
#include "locale_number.h"
#include "named_widget.h"
#include "picture_box.h"
#include "vkoProfileDll.h"

namespace {

const char kAmrNb[] = "libopencore_amrnb";

const struct {
    const char* name;
    const char* id;
} kLabels[] = {{"Lab1", "04010"},   {"Lab2", "04011"},        {"Label3", "04012"},
               {"Label4", "04013"}, {"Label5", "04014"},      {"Label6", "04015"},
               {"Label7", "04016"}, {"Label8", "04017"},      {"VideoSetLab", "04058"},
               {"AudioSetLab", "04059"}};

const struct {
    int32_t value;
    const char* text;
} kAmrNbRates[] = {{4750, "4.75 kbps"}, {5150, "5.15 kbps"}, {5900, "5.9 kbps"},  {6700, "6.7 kbps"},
                   {7400, "7.4 kbps"},  {7950, "7.95 kbps"}, {10200, "10.2 kbps"}, {12200, "12.2 kbps"}};

std::vector<ComboboxSelectObject*> amrNbChoices()
{
    std::vector<ComboboxSelectObject*> choices;
    for (const auto& rate : kAmrNbRates)
        choices.push_back(new ComboboxSelectObject(0, ChoiceValue::ofInteger(rate.value), rate.text, rate.text));
    return choices;
}

std::optional<ChoiceValue> optionValue(const ProfileParam& param, const char* text)
{
    switch (param.valueType) {
    case VKO_PARAM_INTEGER: {
        int32_t value = 0;
        const char* end = text + std::strlen(text);
        auto [stop, error] = std::from_chars(text, end, value);
        if (error != std::errc() || stop != end)
            std::fprintf(stderr, "profile parameter \"%s\": option \"%s\" is not an integer\n", param.name, text);
        return ChoiceValue::ofInteger(value);
    }
    case VKO_PARAM_TEXT:
        return ChoiceValue::ofText(text);
    case VKO_PARAM_REAL: {
        std::optional<double> value = strToFloatLocale(text);
        if (!value)
            std::fprintf(stderr, "profile parameter \"%s\": option \"%s\" is not a number\n", param.name, text);
        return ChoiceValue::ofSingle(static_cast<float>(value.value_or(0.0)));
    }
    default:
        return std::nullopt;
    }
}

// One localised choice per option of param, named in the languages of the parameter.
std::vector<ComboboxSelectObject*> choicesOf(const ProfileParam& param)
{
    const char* noCodes[ChoiceLanguages::kMaxLanguages] = {};
    const ProfileXmlInfo* languages = param.optionLanguages;
    const int32_t count = languages != nullptr ? languages->languageCount : 0;
    const char* const* codes = languages != nullptr ? languages->languages : noCodes;
    std::vector<ComboboxSelectObject*> choices;
    for (int32_t i = 0; i < param.optionCount; ++i) {
        const ProfileParamOption& option = param.options[i];
        std::optional<ChoiceValue> value = optionValue(param, option.value);
        if (!value)
            break;
        choices.push_back(new I18nSelectObject(0, std::move(*value),
                                               ChoiceLanguages::copyOf(count, codes, option.names, option.names)));
    }
    return choices;
}

template <size_t N>
void copyChoiceText(char (&field)[N], QComboBox* combo)
{
    const ComboboxSelectObject* choice = choiceObjectAt(combo, combo->currentIndex());
    if (choice == nullptr || choice->valueType() != kChoiceText)
        return;
    copyCut(field, choice->getString());
}

// Numbers are converted from the choice's own type, so profile data of another value type never
// writes the bytes of one type into a field of another.
template <typename Number>
void copyChoiceNumber(Number& field, QComboBox* combo)
{
    const ComboboxSelectObject* choice = choiceObjectAt(combo, combo->currentIndex());
    if (choice == nullptr)
        return;
    switch (choice->valueType()) {
    case kChoiceInteger:
        field = static_cast<Number>(choice->getInt());
        break;
    case kChoiceSingle:
        field = static_cast<Number>(choice->getFloat());
        break;
    case kChoiceDouble:
        field = static_cast<Number>(choice->getDouble());
        break;
    default:
        break;
    }
}

template <size_t N>
void copyEditText(char (&field)[N], const QLineEdit* edit)
{
    copyCut(field, edit->text().toLatin1().toStdString());
}

bool isSizeKey(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
        return true;
    default:
        return key.text().isEmpty() || (key.text().size() == 1 && key.text()[0].isDigit() &&
                                        key.text()[0].unicode() < 0x80);
    }
}

} // namespace

TfrmSet::TfrmSet() : SkinWindow({"set", "set/", QSize(500, 33)})
{
    setObjectName(QStringLiteral("TfrmSet"));
    maskFloatingPointExceptions();
    auto* background = makeNamed<PictureBox>(this, "Set_BG");
    auto* close = makeNamed<ImageButton>(this, "close");
    ok_ = makeNamed<ImageButton>(this, "set_ok");
    cancel_ = makeNamed<ImageButton>(this, "set_cancel");
    for (const auto& label : kLabels) {
        auto* caption = makeNamed<QLabel>(this, label.name);
        bindI18nRows(caption, {{"Caption", label.id}});
        if (label.id == std::string("04058") || label.id == std::string("04059")) {
            QFont bold = caption->font();
            bold.setBold(true);
            caption->setFont(bold);
        }
    }
    createLists();
    customSize_ = makeNamed<QCheckBox>(this, "setCustomSize");
    bindI18nRows(customSize_, {{"Caption", "05021"}});
    width_ = makeFourDigitEdit(this, "setWidth");
    height_ = makeFourDigitEdit(this, "setHeight");
    times_ = makeNamed<QLabel>(this, "Lab_custom");
    times_->setText(QStringLiteral("X"));
    times_->setAlignment(Qt::AlignCenter);
    bindI18nRows(ok_, {{"Caption", "00036"}, {"Hint", "00037"}});
    bindI18nRows(cancel_, {{"Caption", "00038"}, {"Hint", "00039"}});
    createFromSkin();
    for (QWidget* control : std::initializer_list<QWidget*>{width_, height_, times_})
        control->hide();
    keepVisibilityOnSkinSwitch({width_, height_, times_, customSize_, lists_.resolution});
    setDragBackground(background);

    for (QLineEdit* edit : {width_, height_})
        edit->installEventFilter(this);
    connect(customSize_, &QCheckBox::toggled, this, &TfrmSet::customSizeToggled);
    connect(width_, &QLineEdit::textEdited, this, &TfrmSet::widthEdited);
    connect(height_, &QLineEdit::textEdited, this, &TfrmSet::heightEdited);
    connect(lists_.audioEncoder, &QComboBox::activated, this, &TfrmSet::audioEncoderChosen);
    connect(ok_, &ImageButton::clicked, this, [this] {
        applyChoices();
        hide();
    });
    for (ImageButton* button : {close, cancel_})
        connect(button, &ImageButton::clicked, this, &TfrmSet::hide);
    setDialogButtons(ok_, cancel_);
}

void TfrmSet::createLists()
{
    auto list = [this](const char* name) {
        auto* combo = makeNamed<QComboBox>(this, name);
        bindI18nRows(combo, {{"Items", "Items"}});
        return combo;
    };
    lists_.resolution = list("cmbResolution");
    lists_.frameRate = list("cmbFrameRate");
    lists_.videoEncoder = list("cmbVideoEncoder");
    lists_.videoBitrate = list("cmbVideoBitrate");
    lists_.sampleRate = list("cmbSampleRate");
    lists_.audioChannel = list("cmbAudioChannel");
    lists_.audioEncoder = list("cmbAudioEncoder");
    lists_.audioBitrate = list("cmbAudioBitrate");
}

void TfrmSet::bindJob(NodeSettingInfo* job, const ProfileSelectObject* profile, std::vector<NodeSettingInfo*> allJobs,
                      bool applyToAll)
{
    job_ = job;
    profile_ = profile;
    allJobs_ = std::move(allJobs);
    applyToAll_ = applyToAll;
}

void TfrmSet::showDialog()
{
    applyI18nAll();
    prepareLists();
    setWindowModality(Qt::ApplicationModal);
    show();
}

void TfrmSet::prepareLists()
{
    if (job_ == nullptr || job_->profile == nullptr || profile_ == nullptr)
        return;
    fillFromProfile();
    const bool audio = isAudioProfile();
    for (QComboBox* video : {lists_.resolution, lists_.frameRate, lists_.videoEncoder, lists_.videoBitrate}) {
        if (audio)
            clearChoiceCombo(video);
        video->setEnabled(!audio);
    }
    selectJobValues();
    showCustomSize();
}

QComboBox* TfrmSet::listOfParameter(const char* name) const
{
    const struct {
        const char* name;
        QComboBox* list;
    } table[] = {{"s", lists_.resolution},    {"r", lists_.frameRate},       {"vcodec", lists_.videoEncoder},
                 {"b", lists_.videoBitrate},  {"ar", lists_.sampleRate},     {"ac", lists_.audioChannel},
                 {"acodec", lists_.audioEncoder}, {"ab", lists_.audioBitrate}};
    for (const auto& entry : table) {
        if (std::strcmp(entry.name, name) == 0)
            return entry.list;
    }
    return nullptr;
}

void TfrmSet::fillFromProfile()
{
    audioBitrateParam_ = nullptr;
    const ProfileXmlInfo& profile = profile_->profile();
    for (int32_t i = 0; i < profile.paramCount; ++i) {
        const ProfileParam& param = profile.params[i];
        QComboBox* list = listOfParameter(param.name);
        if (list == lists_.audioBitrate) {
            audioBitrateParam_ = &param;
            fillAudioBitrates(std::strcmp(job_->profile->audioCodec, kAmrNb) == 0);
        } else if (list != nullptr) {
            fillChoiceCombo(list, choicesOf(param), param.selectedIndex);
        }
    }
}

void TfrmSet::fillAudioBitrates(bool amrNb)
{
    if (amrNb)
        fillChoiceCombo(lists_.audioBitrate, amrNbChoices(), 1);
    else if (audioBitrateParam_ != nullptr)
        fillChoiceCombo(lists_.audioBitrate, choicesOf(*audioBitrateParam_), audioBitrateParam_->selectedIndex);
    else
        clearChoiceCombo(lists_.audioBitrate);
}

void TfrmSet::selectJobValues()
{
    ProfileSettingInfo& values = *job_->profile;
    selectChoiceByValue(lists_.resolution, values.frameSize);
    selectChoiceByValue(lists_.videoEncoder, values.videoCodec);
    selectChoiceByValue(lists_.frameRate, &values.frameRate);
    selectChoiceByValue(lists_.videoBitrate, &values.videoBitrate);
    selectChoiceByValue(lists_.sampleRate, &values.sampleRate);
    selectChoiceByValue(lists_.audioChannel, &values.channels);
    selectChoiceByValue(lists_.audioEncoder, values.audioCodec);
    selectChoiceByValue(lists_.audioBitrate, &values.audioBitrate);
}

bool TfrmSet::isAudioProfile() const
{
    return profile_ != nullptr && profile_->mediaType() == VKO_PROFILE_AUDIO;
}

void TfrmSet::showCustomSize()
{
    const ProfileSettingInfo& values = *job_->profile;
    const bool offered = values.mediaType == VKO_PROFILE_VIDEO && std::strcmp(values.format, "3gp") != 0 &&
                         std::strcmp(values.format, "3g2") != 0 && std::strcmp(job_->crop.zoom, "full") == 0;
    const bool ticked = job_->crop.customSize != 0;
    {
        const QSignalBlocker blocker(customSize_);
        customSize_->setChecked(ticked);
    }
    customSize_->setVisible(offered);
    width_->setText(QString::fromLatin1(job_->crop.customWidth));
    height_->setText(QString::fromLatin1(job_->crop.customHeight));
    showCustomSizeEdits(offered && ticked);
    width_->setEnabled(ticked);
    height_->setEnabled(ticked);
}

void TfrmSet::showCustomSizeEdits(bool shown)
{
    lists_.resolution->setVisible(!shown);
    for (QWidget* control : std::initializer_list<QWidget*>{width_, height_, times_})
        control->setVisible(shown);
}

void TfrmSet::customSizeToggled(bool ticked)
{
    if (job_ == nullptr)
        return;
    job_->crop.customSize = ticked ? 1 : 0;
    showCustomSizeEdits(ticked);
    width_->setEnabled(ticked);
    height_->setEnabled(ticked);
    width_->setText(QString::fromLatin1(job_->crop.customWidth));
    height_->setText(QString::fromLatin1(job_->crop.customHeight));
}

void TfrmSet::widthEdited(const QString&)
{
    keepAspect(width_, height_, true);
}

void TfrmSet::heightEdited(const QString&)
{
    keepAspect(height_, width_, false);
}

void TfrmSet::keepAspect(QLineEdit* typed, QLineEdit* other, bool typedIsWidth)
{
    if (job_ == nullptr || job_->owner == nullptr)
        return;
    if (typed->text().isEmpty()) {
        other->clear();
        return;
    }
    const MediaFileInfo& source = job_->owner->fileInfo;
    const CropSetting& crop = job_->crop;
    const int64_t visibleWidth = int64_t{source.width} - crop.left - crop.right;
    const int64_t visibleHeight = int64_t{source.height} - crop.top - crop.bottom;
    const int64_t number = typed->text().toLongLong();
    typed->setText(QString::number(number));
    // Without a visible picture there is no aspect to keep: the other edit stays as it is.
    if (visibleWidth <= 0 || visibleHeight <= 0)
        return;
    const int64_t derived =
        typedIsWidth ? number * visibleHeight / visibleWidth : number * visibleWidth / visibleHeight;
    other->setText(QString::number(derived));
}

void TfrmSet::audioEncoderChosen()
{
    if (job_ == nullptr || job_->profile == nullptr)
        return;
    const ComboboxSelectObject* choice = choiceObjectAt(lists_.audioEncoder, lists_.audioEncoder->currentIndex());
    const bool amrNb = choice != nullptr && choice->valueType() == kChoiceText && choice->getString() == kAmrNb;
    fillAudioBitrates(amrNb);
    selectChoiceByValue(lists_.audioBitrate, &job_->profile->audioBitrate);
}

void TfrmSet::applyChoices()
{
    if (job_ == nullptr || profile_ == nullptr)
        return;
    if (isHidden())
        prepareLists();
    if (!applyToAll_) {
        applyTo(*job_);
        return;
    }
    for (NodeSettingInfo* job : allJobs_) {
        if (job != nullptr)
            applyTo(*job);
    }
}

void TfrmSet::applyTo(NodeSettingInfo& job) const
{
    if (job.profile == nullptr)
        return;
    ProfileSettingInfo& values = *job.profile;
    if (!isAudioProfile()) {
        copyChoiceText(values.frameSize, lists_.resolution);
        copyChoiceText(values.videoCodec, lists_.videoEncoder);
        copyChoiceNumber(values.frameRate, lists_.frameRate);
        copyChoiceNumber(values.videoBitrate, lists_.videoBitrate);
    }
    copyChoiceNumber(values.sampleRate, lists_.sampleRate);
    copyChoiceNumber(values.channels, lists_.audioChannel);
    copyChoiceText(values.audioCodec, lists_.audioEncoder);
    copyChoiceNumber(values.audioBitrate, lists_.audioBitrate);
    if (job.crop.customSize != 0) {
        copyEditText(job.crop.customWidth, width_);
        copyEditText(job.crop.customHeight, height_);
    }
}

bool TfrmSet::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == width_ || watched == height_) && event->type() == QEvent::KeyPress &&
        !isSizeKey(static_cast<QKeyEvent&>(*event))) {
        return true;
    }
    return SkinWindow::eventFilter(watched, event);
}

void TfrmSet::showEvent(QShowEvent* event)
{
    applyI18nAll();
    SkinWindow::showEvent(event);
}

void TfrmSet::hideEvent(QHideEvent* event)
{
    SkinWindow::hideEvent(event);
    emit closed();
}
