#include "edit_window.h"

#include <QCheckBox>
#include <QSignalBlocker>
#include <QTabWidget>
#include <atomic>

#include "crop_sheet.h"
#include "edit_sheet.h"
#include "effect_sheet.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "named_widget.h"
#include "picture_box.h"
#include "playback_route.h"
#include "player_host.h"
#include "skin_catalogue.h"
#include "skin_folder.h"
#include "skin_slider.h"
#include "trim_sheet.h"
#include "vkoPlayerDll.h"
#include "window_events.h"

namespace {

// How often a dragged trim slider moves the preview.
constexpr int kFollowIntervalMs = 80;

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

TfrmEdit::TfrmEdit() : SkinWindow({"edit", "edit/", QSize(700, 33)}), preview_(playback::kEditOwner, this)
{
    setObjectName(QStringLiteral("TfrmEdit"));
    auto* background = makeNamed<PictureBox>(this, "BG_img");
    createPlayerControls();
    tabs_ = makeNamed<QTabWidget>(this, "EditTabs");
    cropSheet_ = new CropSheet(tabs_, preview_);
    effectSheet_ = new EffectSheet(tabs_, preview_);
    trimSheet_ = new TrimSheet(tabs_);
    for (QWidget* sheet : std::initializer_list<QWidget*>{cropSheet_, effectSheet_, trimSheet_}) {
        tabs_->addTab(sheet, QString());
    }
    createButtons();
    createFromSkin();
    paintTabPages(tabs_);
    for (QWidget* control : cropSheet_->customSizeControls()) {
        control->hide();
    }
    keepVisibilityOnSkinSwitch(cropSheet_->customSizeControls());
    setDragBackground(background);
    bindTexts();
    connectControls();
    cropListener = this;
}

TfrmEdit::~TfrmEdit()
{
    // The host is another window's member: it must not go with the panel.
    if (playerHost_ && playerHost_->parentWidget() == playPanel_) {
        playerHost_->setParent(nullptr);
    }
    cropListener = nullptr;
}

void TfrmEdit::createPlayerControls()
{
    close_ = makeNamed<ImageButton>(this, "close");
    playPanel_ = makeNamed<QWidget>(this, "TrimPlayPanel");
    totalTrackBar_ = editsheet::makeSlider(this, "TotalTrackBar", 0, 0);
    play_ = makeNamed<ImageButton>(this, "Play_img");
    playTrim_ = makeNamed<ImageButton>(this, "Playtrim_img");
    trimStartButton_ = makeNamed<ImageButton>(this, "Trimstart_img");
    trimEndButton_ = makeNamed<ImageButton>(this, "Trimend_img");
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
    connect(trimStartButton_, &ImageButton::clicked, this, [this] { trimSheet_->startAt(totalTrackBar_->value()); });
    connect(trimEndButton_, &ImageButton::clicked, this, [this] { trimSheet_->endAt(totalTrackBar_->value()); });
    connectPreviewControls();
    connect(close_, &ImageButton::clicked, this, &TfrmEdit::close);
    connect(cancel_, &ImageButton::clicked, this, &TfrmEdit::close);
    connect(ok_, &ImageButton::clicked, this, &TfrmEdit::confirm);
    setDialogButtons(ok_, cancel_);
    connect(resetAll_, &ImageButton::clicked, this, [this] {
        cropSheet_->reset();
        effectSheet_->reset();
        trimSheet_->reset();
    });
}

void TfrmEdit::connectPreviewControls()
{
    const auto beginSeek = [this] { preview_.beginSeek(); };
    connect(totalTrackBar_, &QSlider::sliderPressed, this, beginSeek);
    connect(totalTrackBar_, &QSlider::sliderReleased, this, [this] { endSeek(totalTrackBar_->value()); });
    connect(playTrim_, &ImageButton::pressed, this, beginSeek);
    connect(playTrim_, &ImageButton::released, this, [this] { endSeek(trimSheet_->startSlider()->value()); });
    connect(play_, &ImageButton::clicked, this, [this] {
        preview_.togglePlay();
        showPlayState();
    });
    for (SkinSlider* trim : {trimSheet_->startSlider(), trimSheet_->endSlider()}) {
        connect(trim, &QSlider::sliderPressed, this, beginSeek);
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
    trimSheet_->loadBarPictures(skinPictureFile(skinImageFolder() + QStringLiteral("edit/Barpic.bmp")));
}

void TfrmEdit::applySkinPictures()
{
    SkinWindow::applySkinPictures();
    loadSliderPictures();
    showPlayState();
}

// ---- showing, loading and writing ----------------------------------------------------------

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
    preview_.send(PlayerCommand::Crop);
}

void TfrmEdit::prepareControls()
{
    applyToAll_->setChecked(false);
    const bool video = job_->profile != nullptr && job_->profile->mediaType == 0;
    cropSheet_->enablePictureControls(video);
    effectSheet_->enablePictureControls(video);
    totalTrackBar_->setValue(0);
    tabs_->setCurrentIndex(0);
    applyI18nAll();
    cropSheet_->fillChoices();
    effectSheet_->fillChoices();
    const int duration = editsheet::durationSeconds(job_);
    {
        const QSignalBlocker blocker(totalTrackBar_);
        totalTrackBar_->setMaximum(duration);
    }
    trimSheet_->setDuration(duration);
    cropSheet_->prepare(*job_);
    loadSliderPictures();
}

void TfrmEdit::loadJob()
{
    cropSheet_->load();
    effectSheet_->load(*job_);
    trimSheet_->load(*job_);
}

void TfrmEdit::confirm()
{
    if (applyToAll_->isChecked()) {
        for (NodeSettingInfo* job : allJobs_) {
            effectSheet_->write(*job);
        }
    }
    effectSheet_->write(*job_);
    cropSheet_->write();
    trimSheet_->write();
    close();
}

void TfrmEdit::hideEvent(QHideEvent* event)
{
    SkinWindow::hideEvent(event);
    if (!open_) {
        return;
    }
    open_ = false;
    followTimer_.stop();
    preview_.stop();
    preview_.send(PlayerCommand::Close);
    job_ = nullptr;
    allJobs_.clear();
    cropSheet_->release();
    emit closed();
}

// ---- preview playback ----------------------------------------------------------------------

void TfrmEdit::startPreview()
{
    const SkinItem* panel = skinItem(playPanel_->objectName());
    preview_.attach(playerHost_, playPanel_, panel ? QSize(panel->width, panel->height) : playPanel_->size());
    if (playerHost_) {
        playerHost_->setCropDragEnabled(true);
    }
    setCropHandle(&cropSlot);
    preview_.openAndPlay(job_->owner ? job_->owner->fileInfo.path : "");
    showPlayState();
}

void TfrmEdit::endSeek(int target)
{
    preview_.endSeek(target);
    showPlayState();
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
    if (followTarget_ >= 0) {
        preview_.showWhileSeeking(followTarget_);
    }
}

void TfrmEdit::showPlayState()
{
    loadButtonPictures(play_, preview_.isPlaying() ? QStringLiteral("Play_img") : QStringLiteral("Pause_img"));
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
        if (preview_.takeReport()) {
            totalTrackBar_->setValue(word);
        }
    } else {
        cropSheet_->reportedCrop(type == MSG_EDIT_CROP_TOP_BOTTOM, word, lng);
    }
}
