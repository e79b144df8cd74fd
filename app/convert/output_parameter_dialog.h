// The output parameter dialog: picture size, frame rate, codecs, bit rates or a constant quality,
// sample rate and channels of one job, its custom output size and whether small sources are
// enlarged.
#pragma once

#include <vector>

#include "skin_window.h"

class ImageButton;
class ProfileSelectObject;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
struct NodeSettingInfo;
struct ProfileSettingInfo;
struct ProfileParam;
struct TrackChoice;

class TfrmSet : public SkinWindow {
    Q_OBJECT
public:
    TfrmSet();

    // The job to edit, the profile chosen in the picker, every job of the list in list order,
    // and whether the choices go into every job ("Apply to all" ticked).
    void bindJob(NodeSettingInfo* job, const ProfileSelectObject* profile, std::vector<NodeSettingInfo*> allJobs,
                 bool applyToAll);
    // Fills the lists for the bound job and shows the dialog modally (no nested event loop).
    void showDialog();
    // Writes the chosen values into the bound job, or into every job when bound so. Without the
    // dialog on screen the lists are first filled for the bound job, so that no choice of an
    // earlier job or profile is written.
    void applyChoices();

    struct Lists {
        QComboBox* resolution;
        QComboBox* frameRate;
        QComboBox* videoEncoder;
        QComboBox* videoBitrate;
        QComboBox* sampleRate;
        QComboBox* audioChannel;
        QComboBox* audioEncoder;
        QComboBox* audioBitrate;
        QComboBox* rateControl; // "Bit rate" or "Quality", where the profile and the encoder offer both
        QComboBox* quality;     // the video encoder's scale, from the smallest file to the best picture
        QComboBox* audioTrack;  // the source's tracks (its default one stands for the default), "All tracks"
        QComboBox* subtitles;   // "None", "Keep", "Burn in: <track>" for each subtitle track
    };
    const Lists& lists() const { return lists_; }
    QCheckBox* customSizeBox() const { return customSize_; }
    QCheckBox* noEnlargeBox() const { return noEnlarge_; }
    QLineEdit* widthEdit() const { return width_; }
    QLineEdit* heightEdit() const { return height_; }
    QLabel* timesLabel() const { return times_; }
    ImageButton* okButton() const { return ok_; }
    ImageButton* cancelButton() const { return cancel_; }

signals:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createLists();
    void prepareLists();
    void fillFromProfile();
    void fillAudioBitrates(bool amrNb);
    void selectJobValues();
    void showCustomSize();
    void customSizeToggled(bool ticked);
    void showCustomSizeEdits(bool ticked);
    void widthEdited(const QString& text);
    void heightEdited(const QString& text);
    void keepAspect(QLineEdit* typed, QLineEdit* other, bool typedIsWidth);
    void audioEncoderChosen();
    void videoEncoderChosen();
    void fillQualities(int32_t selected);
    void showRateControl();
    bool qualityOffered() const;
    void applyRateControlTo(ProfileSettingInfo& values) const;
    void fillTracks();
    TrackChoice chosenTracks() const;
    void applyTo(NodeSettingInfo& job) const;
    bool isAudioProfile() const;
    QComboBox* listOfParameter(const char* name) const;

    Lists lists_{};
    QCheckBox* customSize_ = nullptr;
    QCheckBox* noEnlarge_ = nullptr;
    QLabel* bitrateLabel_ = nullptr;
    QLabel* qualityLabel_ = nullptr;
    QLabel* rateControlLabel_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QLabel* times_ = nullptr;
    ImageButton* ok_ = nullptr;
    ImageButton* cancel_ = nullptr;

    NodeSettingInfo* job_ = nullptr;
    const ProfileSelectObject* profile_ = nullptr;
    std::vector<NodeSettingInfo*> allJobs_;
    bool applyToAll_ = false;
    const ProfileParam* audioBitrateParam_ = nullptr;  // the bound profile's "ab" entry
    bool profileHasRateControl_ = false;               // the bound profile has "rc" and "q"
    bool profileHasNoEnlarge_ = false;                 // the bound profile has "noenlarge"
    bool editingSize_ = false;  // set while one size edit rewrites the other
};
