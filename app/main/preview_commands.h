// The main window's preview commands: play and pause, stop, the previous and next file, the
// position slider, snapshots and their folder, and the position reports of the player.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

#include "main_controls.h"
#include "preview_controller.h"

class JobList;
class JobListView;
class QWidget;
class SkinSlider;
class TfrmMain;
class TfrmPlayer;
struct AppSettings;

class PreviewCommands : public QObject {
public:
    PreviewCommands(TfrmMain& window, JobList& jobs, JobListView* list, QWidget* panel, SkinSlider* trackBar,
                    const MainButtons& buttons, AppSettings& settings);

    void connectControls();
    PreviewController& controller() { return preview_; }

    // The host of the player's pictures, placed into the preview panel by setUpPreviewPlayer.
    void setPlayerHost(TfrmPlayer* host) { playerHost_ = host; }
    // Puts the player into the preview panel and makes the main window the owner of its reports;
    // again after the edit or progress window has closed.
    void setUpPreviewPlayer();

    void playOrPause();
    void stopPressed();
    void stopReleased();
    void playPrevious();
    void playNext();
    void sliderPressed();
    void sliderReleased();
    void takeSnapshot();
    // A position report of the player (MSG_MAIN_PLAY_POSITION).
    void playPosition(int currentSeconds);
    // Another row was chosen: the preview stops and the slider spans the row's file.
    void rowSelected();
    // A conversion or the edit window takes the player: the preview stops.
    void stopForConversion();
    void handOverToEditWindow();
    // The play button's picture after a skin switch.
    void showPlayPicture();

    void setSnapshotOptions(const QString& extension, const QString& folder);
    const QString& snapshotExtension() const { return snapshotExtension_; }
    int snapshotCounter() const { return snapshotCounter_; }
    // The sound card's volume as it was when the program started, given back on closing.
    void restoreStartVolume() const;

private:
    void showPlayPicture(bool pause);
    void startPreviewOfSelectedRow();

    TfrmMain& window_;
    JobList& jobs_;
    JobListView* list_;
    QWidget* panel_;
    SkinSlider* trackBar_;
    const MainButtons& buttons_;
    AppSettings& settings_;
    PreviewController preview_;
    TfrmPlayer* playerHost_ = nullptr;
    QString snapshotExtension_ = QStringLiteral(".jpg");
    int snapshotCounter_ = 0;
    uint32_t startVolume_ = 0;
};
