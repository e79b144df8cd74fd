// The edit window's effects sheet: brightness, contrast and saturation, the picture effect, the
// flips and the volume, each sent to the preview as it changes.
#pragma once

#include <QWidget>
#include <vector>

#include "edit_rules.h"
#include "job_rows.h"

class ImageButton;
class PreviewController;
class QComboBox;
class SkinSlider;

class EffectSheet : public QWidget {
public:
    EffectSheet(QWidget* parent, const PreviewController& preview);

    // Fills the effect list in the current language (no signals).
    void fillChoices();
    // Enables the picture controls for a video profile; the volume stays enabled.
    void enablePictureControls(bool video);
    // Shows job's effects and sends them to the preview (the window keeps the job until it
    // closes).
    void load(NodeSettingInfo& job);
    // Writes the shown effects into job ("apply to all" writes them into every job).
    void write(NodeSettingInfo& job) const;
    // No effect, no flip, the middle of every slider: written into the job and sent at once.
    void reset();

private:
    void connectControls();
    void sendEffectValues();
    void sendPictureEffect(int effect);
    void sendFlips(const std::vector<editrules::FlipCall>& calls);
    void showFlipStates();
    void toggleFlip(editrules::FlipCall flip);
    void volumeMoved(int position);
    int selectedEffect() const;

    const PreviewController& preview_;
    SkinSlider* brightness_ = nullptr;
    SkinSlider* contrast_ = nullptr;
    SkinSlider* saturation_ = nullptr;
    QComboBox* effect_ = nullptr;
    ImageButton* leftRight_ = nullptr;
    ImageButton* upDown_ = nullptr;
    SkinSlider* volume_ = nullptr;
    ImageButton* effectReset_ = nullptr;

    NodeSettingInfo* job_ = nullptr; // not owned
    int verticalFlip_ = 0;
    int horizontalFlip_ = 0;
};
