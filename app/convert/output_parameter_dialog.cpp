#include "output_parameter_dialog.h"

#include "fixed_field.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <charconv>
#include <cstdlib>
#include <string>
#include <optional>
#include <cstdio>
#include <cstring>

#include "choice_combo.h"
#include "choice_objects.h"
#include "fp_exceptions.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "job_list.h"
#include "job_rows.h"
#include "locale_number.h"
#include "named_widget.h"
#include "picture_box.h"
#include "vkoProfileDll.h"
#include "vkoQualityScale.h"

namespace {

const char kAmrNb[] = "libopencore_amrnb";
// The frame-rate choice of "Same as source"; no real rate is negative.
constexpr float kSourceRateChoice = -1.0F;

const struct {
    const char* name;
    const char* id;
} kLabels[] = {{"Lab1", "04010"},   {"Lab2", "04011"},        {"Label3", "04012"},
               {"Label4", "04013"}, {"Label5", "04014"},      {"Label6", "04015"},
               {"Label7", "04016"}, {"Label8", "04017"},      {"VideoSetLab", "04058"},
               {"AudioSetLab", "04059"}, {"LabRateControl", "04060"}, {"TrackSetLab", "04090"},
               {"LabAudioTrack", "04091"}, {"LabSubtitles", "04092"}};

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
        if (std::strcmp(text, kSameAsSource) == 0)
            return ChoiceValue::ofSingle(kSourceRateChoice);
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

// The text of the current choice of a text list; empty without one.
std::string chosenText(QComboBox* combo)
{
    const ComboboxSelectObject* choice = choiceObjectAt(combo, combo->currentIndex());
    return choice != nullptr && choice->valueType() == kChoiceText ? choice->getString() : std::string();
}

// One choice per value of a quality scale, from the smallest file to the best picture, each
// named by the scale and its value; the two ends say which end they are.
std::vector<ComboboxSelectObject*> qualityChoices(const VkoQualityScale& scale)
{
    std::vector<ComboboxSelectObject*> choices;
    const int step = scale.smallestFile > scale.bestPicture ? -1 : 1;
    for (int32_t value = scale.smallestFile;; value += step) {
        std::string text = std::string(scale.label) + " " + std::to_string(value);
        if (value == scale.smallestFile)
            text += std::string(" (") + getI18nText("04062") + ")";
        else if (value == scale.bestPicture)
            text += std::string(" (") + getI18nText("04063") + ")";
        choices.push_back(new ComboboxSelectObject(0, ChoiceValue::ofInteger(value), text, text));
        if (value == scale.bestPicture)
            break;
    }
    return choices;
}

ComboboxSelectObject* textChoice(int32_t value, const std::string& text)
{
    return new ComboboxSelectObject(0, ChoiceValue::ofInteger(value), text, text);
}

// Each audio track of the source, its default one standing for the default choice, and every
// track at once where the container holds several.
std::vector<ComboboxSelectObject*> audioTrackChoices(const StreamList& streams, bool several)
{
    std::vector<ComboboxSelectObject*> choices;
    const MediaStreamInfo* standard = defaultAudioTrack(streams);
    for (const MediaStreamInfo& stream : streams) {
        if (stream.kind == VKO_STREAM_AUDIO)
            choices.push_back(textChoice(&stream == standard ? TrackChoice::kDefaultAudio : stream.number,
                                         trackLabel(stream)));
    }
    if (several && !choices.empty())
        choices.push_back(textChoice(TrackChoice::kAllAudio, getI18nText("04093")));
    return choices;
}

std::vector<ComboboxSelectObject*> subtitleChoices(const StreamList& streams)
{
    std::vector<ComboboxSelectObject*> choices = {textChoice(TrackChoice::kNoSubtitles, getI18nText("04094")),
                                                  textChoice(TrackChoice::kKeepSubtitles, getI18nText("04095"))};
    const QString burnIn = QString::fromUtf8(getI18nText("04096"));
    for (const MediaStreamInfo& stream : streams) {
        if (stream.kind == VKO_STREAM_SUBTITLE)
            choices.push_back(
                textChoice(stream.number, burnIn.arg(QString::fromStdString(trackLabel(stream))).toStdString()));
    }
    return choices;
}

// The integer of the current choice, or fallback without one.
int32_t chosenNumber(QComboBox* combo, int32_t fallback)
{
    const ComboboxSelectObject* choice = choiceObjectAt(combo, combo->currentIndex());
    return choice != nullptr && choice->valueType() == kChoiceInteger ? choice->getInt() : fallback;
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
        if (label.id == std::string("04013"))
            bitrateLabel_ = caption;
        else if (label.id == std::string("04060"))
            rateControlLabel_ = caption;
        const std::string id = label.id;
        if (id == "04058" || id == "04059" || id == "04090") {
            QFont bold = caption->font();
            bold.setBold(true);
            caption->setFont(bold);
        }
    }
    createLists();
    customSize_ = makeNamed<QCheckBox>(this, "setCustomSize");
    bindI18nRows(customSize_, {{"Caption", "05021"}});
    noEnlarge_ = makeNamed<QCheckBox>(this, "setNoEnlarge");
    bindI18nRows(noEnlarge_, {{"Caption", "04064"}});
    qualityLabel_ = makeNamed<QLabel>(this, "LabQuality");
    bindI18nRows(qualityLabel_, {{"Caption", "04061"}});
    width_ = makeFourDigitEdit(this, "setWidth");
    height_ = makeFourDigitEdit(this, "setHeight");
    times_ = makeNamed<QLabel>(this, "Lab_custom");
    times_->setText(QStringLiteral("X"));
    times_->setAlignment(Qt::AlignCenter);
    bindI18nRows(ok_, {{"Caption", "00036"}, {"Hint", "00037"}});
    bindI18nRows(cancel_, {{"Caption", "00038"}, {"Hint", "00039"}});
    createFromSkin();
    for (QWidget* control : std::initializer_list<QWidget*>{width_, height_, times_, noEnlarge_, qualityLabel_,
                                                            lists_.quality, rateControlLabel_, lists_.rateControl})
        control->hide();
    keepVisibilityOnSkinSwitch({width_, height_, times_, customSize_, lists_.resolution, noEnlarge_, bitrateLabel_,
                                lists_.videoBitrate, qualityLabel_, lists_.quality, lists_.rateControl,
                                rateControlLabel_});
    setDragBackground(background);

    for (QLineEdit* edit : {width_, height_})
        edit->installEventFilter(this);
    connect(customSize_, &QCheckBox::toggled, this, &TfrmSet::customSizeToggled);
    connect(width_, &QLineEdit::textEdited, this, &TfrmSet::widthEdited);
    connect(height_, &QLineEdit::textEdited, this, &TfrmSet::heightEdited);
    connect(lists_.audioEncoder, &QComboBox::activated, this, &TfrmSet::audioEncoderChosen);
    connect(lists_.videoEncoder, &QComboBox::activated, this, &TfrmSet::videoEncoderChosen);
    connect(lists_.rateControl, &QComboBox::activated, this, &TfrmSet::showRateControl);
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
    lists_.rateControl = list("cmbRateControl");
    lists_.quality = list("cmbQuality");
    lists_.audioTrack = makeNamed<QComboBox>(this, "cmbAudioTrack");
    lists_.subtitles = makeNamed<QComboBox>(this, "cmbSubtitles");
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
    for (QComboBox* video : {lists_.resolution, lists_.frameRate, lists_.videoEncoder, lists_.videoBitrate,
                             lists_.rateControl, lists_.quality}) {
        if (audio)
            clearChoiceCombo(video);
        video->setEnabled(!audio);
    }
    selectJobValues();
    fillQualities(job_->profile->quality);
    showRateControl();
    noEnlarge_->setVisible(profileHasNoEnlarge_ && !audio);
    noEnlarge_->setChecked(job_->profile->noEnlarge != 0);
    showCustomSize();
    fillTracks();
}

void TfrmSet::fillTracks()
{
    const StreamList none;
    const StreamList& streams = job_->owner != nullptr ? job_->owner->streams : none;
    const bool audio = isAudioProfile();
    fillChoiceCombo(lists_.audioTrack, audioTrackChoices(streams, holdsSeveralAudioTracks(profile_->profile().formatName)), 0);
    const MediaStreamInfo* standard = defaultAudioTrack(streams);
    const int32_t track = standard != nullptr && job_->tracks.audio == standard->number ? TrackChoice::kDefaultAudio
                                                                                       : job_->tracks.audio;
    selectChoiceByValue(lists_.audioTrack, &track);
    lists_.audioTrack->setEnabled(lists_.audioTrack->count() > 1);
    if (audio)
        clearChoiceCombo(lists_.subtitles);
    else
        fillChoiceCombo(lists_.subtitles, subtitleChoices(streams), 1);
    selectChoiceByValue(lists_.subtitles, &job_->tracks.subtitles);
    lists_.subtitles->setEnabled(!audio);
}

TrackChoice TfrmSet::chosenTracks() const
{
    TrackChoice chosen = job_->tracks;
    chosen.audio = chosenNumber(lists_.audioTrack, chosen.audio);
    chosen.subtitles = chosenNumber(lists_.subtitles, chosen.subtitles);
    return chosen;
}

QComboBox* TfrmSet::listOfParameter(const char* name) const
{
    const struct {
        const char* name;
        QComboBox* list;
    } table[] = {{"s", lists_.resolution},    {"r", lists_.frameRate},       {"vcodec", lists_.videoEncoder},
                 {"b", lists_.videoBitrate},  {"ar", lists_.sampleRate},     {"ac", lists_.audioChannel},
                 {"acodec", lists_.audioEncoder}, {"ab", lists_.audioBitrate}, {"rc", lists_.rateControl}};
    for (const auto& entry : table) {
        if (std::strcmp(entry.name, name) == 0)
            return entry.list;
    }
    return nullptr;
}

void TfrmSet::fillFromProfile()
{
    audioBitrateParam_ = nullptr;
    profileHasRateControl_ = false;
    profileHasNoEnlarge_ = false;
    clearChoiceCombo(lists_.rateControl);
    const ProfileXmlInfo& profile = profile_->profile();
    for (int32_t i = 0; i < profile.paramCount; ++i) {
        const ProfileParam& param = profile.params[i];
        profileHasRateControl_ = profileHasRateControl_ || std::strcmp(param.name, "rc") == 0;
        profileHasNoEnlarge_ = profileHasNoEnlarge_ || std::strcmp(param.name, "noenlarge") == 0;
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
    const float rate = values.sourceRate != 0 ? kSourceRateChoice : values.frameRate;
    selectChoiceByValue(lists_.frameRate, &rate);
    selectChoiceByValue(lists_.rateControl, values.constantQuality != 0 ? "q" : "b");
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

void TfrmSet::videoEncoderChosen()
{
    if (job_ == nullptr || job_->profile == nullptr)
        return;
    // A value carries over to an encoder of the same scale; another scale starts at its standard.
    const VkoQualityScale* before = vkoQualityScaleOf(job_->profile->videoCodec);
    const VkoQualityScale* now = vkoQualityScaleOf(chosenText(lists_.videoEncoder).c_str());
    const ComboboxSelectObject* chosen = choiceObjectAt(lists_.quality, lists_.quality->currentIndex());
    const bool sameScale = before != nullptr && now != nullptr && std::strcmp(before->label, now->label) == 0 &&
                           before->bestPicture == now->bestPicture && before->smallestFile == now->smallestFile;
    fillQualities(sameScale && chosen != nullptr ? chosen->getInt() : -1);
    showRateControl();
}

void TfrmSet::fillQualities(int32_t selected)
{
    const VkoQualityScale* scale = vkoQualityScaleOf(chosenText(lists_.videoEncoder).c_str());
    if (scale == nullptr || isAudioProfile()) {
        clearChoiceCombo(lists_.quality);
        return;
    }
    const int32_t value = vkoQualityOnScale(scale, selected) ? selected : scale->standard;
    fillChoiceCombo(lists_.quality, qualityChoices(*scale), std::abs(scale->smallestFile - value));
}

bool TfrmSet::qualityOffered() const
{
    return profileHasRateControl_ && !isAudioProfile() && lists_.quality->count() > 0;
}

void TfrmSet::showRateControl()
{
    const bool offered = qualityOffered();
    const bool quality = offered && chosenText(lists_.rateControl) == "q";
    lists_.rateControl->setVisible(offered);
    rateControlLabel_->setVisible(offered);
    for (QWidget* control : std::initializer_list<QWidget*>{lists_.quality, qualityLabel_})
        control->setVisible(quality);
    for (QWidget* control : std::initializer_list<QWidget*>{lists_.videoBitrate, bitrateLabel_})
        control->setVisible(!quality);
}

void TfrmSet::applyRateControlTo(ProfileSettingInfo& values) const
{
    values.sourceRate = values.frameRate == kSourceRateChoice ? 1 : 0;
    if (values.sourceRate != 0)
        values.frameRate = 0.0F;
    if (profileHasNoEnlarge_)
        values.noEnlarge = noEnlarge_->isChecked() ? 1 : 0;
    values.constantQuality = qualityOffered() && chosenText(lists_.rateControl) == "q" ? 1 : 0;
    copyChoiceNumber(values.quality, lists_.quality);
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
        applyRateControlTo(values);
    }
    copyChoiceNumber(values.sampleRate, lists_.sampleRate);
    copyChoiceNumber(values.channels, lists_.audioChannel);
    copyChoiceText(values.audioCodec, lists_.audioEncoder);
    copyChoiceNumber(values.audioBitrate, lists_.audioBitrate);
    if (job.crop.customSize != 0) {
        copyEditText(job.crop.customWidth, width_);
        copyEditText(job.crop.customHeight, height_);
    }
    if (job.owner != nullptr)
        applyTrackChoice(*job.owner, chosenTracks());
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
    if (job_ != nullptr && job_->profile != nullptr && profile_ != nullptr)
        fillTracks();  // their words in the language of now
    SkinWindow::showEvent(event);
}

void TfrmSet::hideEvent(QHideEvent* event)
{
    SkinWindow::hideEvent(event);
    emit closed();
}
