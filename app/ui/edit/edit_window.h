// The edit window: trim, crop and zoom, picture effects, flips and volume of one job, previewed
// at once in the window's player panel. Confirm writes the settings into the job; the resets and
// the custom size box write at once.
#pragma once

#include <QTimer>
#include <array>
#include <atomic>
#include <memory>
#include <vector>

#include "edit_rules.h"
#include "job_rows.h"
#include "player_calls.h"
#include "skin_window.h"

class ImageButton;
class NamedEvent;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class QTimeEdit;
class SkinSlider;
class TfrmPlayer;

class TfrmEdit : public SkinWindow {
    Q_OBJECT
public:
    TfrmEdit();
    ~TfrmEdit() override;

    void applySkinPictures() override;

    // The window that shows the player's pictures; it moves into the player panel while the
    // window is open.
    void setPlayerHost(TfrmPlayer* host) { playerHost_ = host; }
    // Where the window's player calls go (the player library unless a test watches them).
    void setPlayerChannel(PlayerChannel channel) { player_ = std::move(channel); }

    // Loads job, starts its preview and shows the window modally. allJobs are the main window's
    // top-level jobs in list order ("apply to all" writes their effects). The window keeps both
    // references until it closes.
    void editJob(NodeSettingInfo& job, std::vector<NodeSettingInfo*> allJobs);

    // Preview state (GUI thread).
    bool isPlaying() const { return isPlaying_; }
    int pendingSeeks() const { return pendingSeeks_; }
    int seekTarget() const { return seekTarget_; }
    bool isSeeking() const { return isSeeking_; }

signals:
    // The window was hidden after editJob showed it; its preview has ended.
    void closed();

protected:
    void customEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Crop margins in the order of the fields: top, bottom, left, right.
    enum Margin { Top, Bottom, Left, Right, MarginCount };

    void createPlayerControls();
    QWidget* createCropSheet();
    QWidget* createEffectSheet();
    QWidget* createTrimSheet();
    void createButtons();
    void bindTexts();
    void connectControls();
    void connectCropControls();
    void connectEffectControls();
    void connectTrimControls();
    void connectPreviewControls();
    void loadSliderPictures();

    void prepareControls();
    void loadJob();
    int sourceWidth() const;
    int sourceHeight() const;
    int durationSeconds() const;

    // Trim.
    void startSliderMoved(int position);
    void endSliderMoved(int position);
    void refreshStart();
    void refreshEnd();
    void refreshTotal();
    void confirmTypedStart();
    void confirmTypedEnd();

    // Crop and custom size.
    void marginEdited(Margin margin, const QString& text);
    void setMargins(const std::array<int, MarginCount>& margins);
    void sendMargins();
    void reportedCrop(Margin first, int firstValue, int secondValue);
    void applyCustomSizeRule(const std::string& zoom);
    void customSizeClicked(bool checked);
    void sizeEdited(QLineEdit* edited, QLineEdit* other, bool widthEdited);
    void loadCustomSizeTexts();
    int croppedWidth() const;
    int croppedHeight() const;

    // Effects, flips, volume.
    void sendEffectValues();
    void sendPictureEffect(int effect);
    void sendFlips(const std::vector<editrules::FlipCall>& calls);
    void showFlipStates();
    void toggleFlip(editrules::FlipCall flip);
    void volumeMoved(int position);
    int selectedEffect() const;

    // Writing into the job.
    void confirm();
    void writeCrop();
    void writeEffect(NodeSettingInfo& job) const;
    void writeTrim();
    void resetCrop();
    void resetEffect();
    void resetTrim();

    // Preview playback.
    void startPreview();
    void endPreview();
    void beginSeek();
    void endSeek(int target);
    void followTrimSlider(int position);
    void seekToFollowed();
    void playClicked();
    void showPlayState();
    void playPosition(int seconds);
    void send(PlayerCommand command, int64_t argument = 0) const;

    QTabWidget* tabs_ = nullptr;
    ImageButton* close_ = nullptr;
    QWidget* playPanel_ = nullptr;
    SkinSlider* totalTrackBar_ = nullptr;
    ImageButton* play_ = nullptr;
    ImageButton* playTrim_ = nullptr;
    ImageButton* trimStartButton_ = nullptr;
    ImageButton* trimEndButton_ = nullptr;

    QComboBox* zoom_ = nullptr;
    std::array<QSpinBox*, MarginCount> marginFields_{};
    QCheckBox* customSize_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QLabel* widthLabel_ = nullptr;
    QLabel* heightLabel_ = nullptr;
    ImageButton* cropReset_ = nullptr;

    SkinSlider* brightness_ = nullptr;
    SkinSlider* contrast_ = nullptr;
    SkinSlider* saturation_ = nullptr;
    QComboBox* effect_ = nullptr;
    ImageButton* leftRight_ = nullptr;
    ImageButton* upDown_ = nullptr;
    SkinSlider* volume_ = nullptr;
    ImageButton* effectReset_ = nullptr;

    QTimeEdit* startTime_ = nullptr;
    QTimeEdit* endTime_ = nullptr;
    QTimeEdit* totalTime_ = nullptr;
    ImageButton* startTimeOk_ = nullptr;
    ImageButton* endTimeOk_ = nullptr;
    SkinSlider* startTrackBar_ = nullptr;
    SkinSlider* endTrackBar_ = nullptr;
    ImageButton* trimReset_ = nullptr;

    QCheckBox* applyToAll_ = nullptr;
    ImageButton* resetAll_ = nullptr;
    ImageButton* ok_ = nullptr;
    ImageButton* cancel_ = nullptr;

    TfrmPlayer* playerHost_ = nullptr;
    PlayerChannel player_ = callPlayer;

    // The job being edited and the main window's jobs (not owned).
    NodeSettingInfo* job_ = nullptr;
    std::vector<NodeSettingInfo*> allJobs_;
    bool open_ = false;

    int trimStart_ = 0;
    int trimEnd_ = 0;
    int verticalFlip_ = 0;
    int horizontalFlip_ = 0;
    // The margins last accepted by the crop rules; a refused margin returns to its value.
    std::array<int, MarginCount> margins_{};
    // The custom size texts after the last accepted change (width, height).
    std::pair<QString, QString> acceptedSize_;

    bool isPlaying_ = false;
    int pendingSeeks_ = 0;
    int seekTarget_ = -1;
    // Written on the GUI thread, read by the player's thread in the progress callback.
    std::atomic<bool> isSeeking_{false};
    std::shared_ptr<NamedEvent> playEvent_;
    // While a trim slider is dragged, the preview shows the picture at its position.
    QTimer followTimer_;
    int followTarget_ = -1;
};
