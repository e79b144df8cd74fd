// The edit window: trim, crop and zoom, picture effects, flips and volume of one job, previewed
// at once in the window's player panel. The window assembles its three sheets (crop_sheet,
// effect_sheet, trim_sheet) around the preview and its own buttons. Confirm writes the settings
// into the job; the resets and the custom size box write at once.
#pragma once

#include <QTimer>
#include <vector>

#include "job_rows.h"
#include "preview_controller.h"
#include "skin_window.h"

class CropSheet;
class EffectSheet;
class ImageButton;
class QCheckBox;
class QTabWidget;
class SkinSlider;
class TfrmPlayer;
class TrimSheet;

class TfrmEdit : public SkinWindow {
    Q_OBJECT
public:
    TfrmEdit();
    ~TfrmEdit() override;

    void applySkinPictures() override;

    // The window that shows the player's pictures; it moves into the player panel while the
    // window is open.
    void setPlayerHost(TfrmPlayer* host) { playerHost_ = host; }

    // Loads job, starts its preview and shows the window modally. allJobs are the main window's
    // top-level jobs in list order ("apply to all" writes their effects). The window keeps both
    // references until it closes.
    void editJob(NodeSettingInfo& job, std::vector<NodeSettingInfo*> allJobs);

    // The window's preview: its player calls, play state and seeking (GUI thread).
    PreviewController& preview() { return preview_; }

signals:
    // The window was hidden after editJob showed it; its preview has ended.
    void closed();

protected:
    void customEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void createPlayerControls();
    void createButtons();
    void bindTexts();
    void connectControls();
    void connectPreviewControls();
    void loadSliderPictures();

    void prepareControls();
    void loadJob();
    void confirm();

    // Preview playback.
    void startPreview();
    void endSeek(int target);
    void followTrimSlider(int position);
    void seekToFollowed();
    void showPlayState();

    PreviewController preview_;
    TfrmPlayer* playerHost_ = nullptr;

    QTabWidget* tabs_ = nullptr;
    CropSheet* cropSheet_ = nullptr;
    EffectSheet* effectSheet_ = nullptr;
    TrimSheet* trimSheet_ = nullptr;

    ImageButton* close_ = nullptr;
    QWidget* playPanel_ = nullptr;
    SkinSlider* totalTrackBar_ = nullptr;
    ImageButton* play_ = nullptr;
    ImageButton* playTrim_ = nullptr;
    ImageButton* trimStartButton_ = nullptr;
    ImageButton* trimEndButton_ = nullptr;
    QCheckBox* applyToAll_ = nullptr;
    ImageButton* resetAll_ = nullptr;
    ImageButton* ok_ = nullptr;
    ImageButton* cancel_ = nullptr;

    // The job being edited and the main window's jobs (not owned).
    NodeSettingInfo* job_ = nullptr;
    std::vector<NodeSettingInfo*> allJobs_;
    bool open_ = false;

    // While a trim slider is dragged, the preview shows the picture at its position.
    QTimer followTimer_;
    int followTarget_ = -1;
};
