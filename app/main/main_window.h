// The program's home window: job list, profile picker, output folder, preview panel and the
// buttons and menus that open every other window.
#pragma once

#include <QSettings>
#include <QStringList>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "app_settings.h"
#include "conversion_run.h"
#include "job_list.h"
#include "job_list_store.h"
#include "skin_window.h"

class ImageButton;
class JobListView;
class NamedEvent;
class PictureBox;
class ProfileCombobox;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressDialog;
class QSizeGrip;
class QTimer;
class QTreeWidget;
class SkinSlider;
class TfrmPlayer;

class TfrmMain : public SkinWindow {
    Q_OBJECT
public:
    explicit TfrmMain(std::unique_ptr<QSettings> store);
    ~TfrmMain() override;

    const AppSettings& settings() const { return settings_; }
    QSettings& settingsStore() { return *store_; }
    JobList& jobs() { return jobs_; }
    JobListView* jobList() const { return nodeTree_; }
    ProfileCombobox* picker() const { return picker_.get(); }
    QWidget* previewPanel() const { return playPanel_; }
    QCheckBox* applyToAll() const { return applyToAll_; }
    QCheckBox* mergeIntoOne() const { return merge_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* editMenu() const { return editMenu_; }
    QMenu* helpMenu() const { return helpMenu_; }
    SkinSlider* trackBar() const { return trackBar_; }
    ImageButton* playButton() const { return buttons_.play; }
    bool isPlaying() const { return playing_; }
    int pendingSeeks() const { return pendingSeeks_; }
    int snapshotCounter() const { return snapshotCounter_; }
    QString outputFolder() const;

    void setSnapshotOptions(const QString& extension, const QString& folder);
    const QString& snapshotExtension() const { return snapshotExtension_; }
    void setOptionFlags(int autoUpdate, int autoShowWeb);
    void setConversionsAtOnce(int count) { settings_.conversionsAtOnce = count; }
    void setLanguage(const QString& language) { settings_.language = language; }
    void hideWebPanel();
    // Where messages go; an empty sink (the default) shows a plain message box.
    void setMessageSink(std::function<void(const QString&)> sink);

    // Adds files as "Add files" does (the files that cannot be added are named in one message once
    // adding has ended) and the files of a folder as "Add a folder" does (silently skipping). Both go on in the background with a
    // progress dialog; sourcesAdded follows when nothing is left to add.
    void addFiles(const QStringList& paths);
    void addFolder(const QString& folder);
    // Files or folders dropped from the file manager.
    void addDroppedPaths(const QStringList& paths);
    bool isAddingSources() const { return !pendingSources_.empty(); }

    // The host of the player's pictures, placed into the preview panel by setUpPreviewPlayer.
    void setPlayerHost(TfrmPlayer* host) { playerHost_ = host; }
    // Puts the player into the preview panel and makes this window the owner of its reports;
    // again after the edit or progress window has closed.
    void setUpPreviewPlayer();

    // Writes the job list to its file when it changed since the last write (the window does it
    // every second once the restore question of the start is answered).
    void saveJobList();
    const QString& jobListFile() const { return jobListFile_; }
    // Rewrites the list's texts from the rows (after a window changed a row).
    void refreshRowTexts();
    void startConversion();
    void playOrPause();
    void stopPressed();
    void stopReleased();
    void playPrevious();
    void playNext();
    void sliderPressed();
    void sliderReleased();
    void takeSnapshot();
    void startUpdater();
    // The close button: the settings with the current profile, and the volume found at start back.
    void closeWritingSettings();
    // File > Exit: the settings without the profile (the stored one stays); the volume stays.
    void exitWritingSettings();

    // Re-skins after a skin switch: pictures, layout, slider focus, web panel hidden.
    void reskin() override;
    // The skin's places, then stretched to the window's size: the list and the preview grow.
    void applySkinLayout() override;

    // The updater program beside the program.
    static QString updaterPath();
    // The manual in the current language, beside the language files.
    static QString manualPath();
    // Where the open dialogs start: the folder last added from, else the user's videos or home.
    QString sourceFolder() const;
    // The open dialog's filter: one line per media family and one for every file.
    static QString sourceFilter();

signals:
    // The first show of the main window, after its texts were applied.
    void firstShown();
    void optionsRequested();
    void aboutRequested();
    void editRequested(NodeSettingInfo* job);
    void parametersRequested(NodeSettingInfo* job);
    void saveProfileRequested(NodeSettingInfo* job);
    void propertiesRequested(NodeData* row);
    void conversionRequested(ConversionRun run);
    void applyToAllTicked();
    // Nothing is left to add after addFiles / addFolder / addDroppedPaths.
    void sourcesAdded();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Files and folders dropped anywhere on the window (the list is hidden while empty).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Buttons {
        ImageButton *close, *leftClose, *mini, *leftMini, *file, *edit, *help;
        ImageButton *add, *addMenu, *editFrm, *option, *start, *set, *save, *open, *openPath, *profile;
        ImageButton *play, *stop, *prev, *next, *snap, *snapFolder;
    };
    struct Actions {
        QAction *loadFile, *loadFolder, *exit;
        QAction *checkAll, *uncheckAll, *clearAll, *properties, *deleteNode, *moveUp, *moveDown;
        QAction *help, *support, *homepage, *about, *update;
    };
    // One selection of files or one folder's files, added one file per turn of the event loop.
    struct PendingSources {
        QStringList paths;
        bool reportProblems;  // files: their problems are told once adding has ended
        int next = 0;
    };

    void createControls();
    // Resizable and maximisable (double click on the title strip), with its last size and place.
    void makeResizable();
    void stretchControls();
    void createToolbarButtons();
    void createPlayerControls();
    void createOutputControls();
    void createMenus();
    void createJobList();
    void createPicker();
    void setUpWebPanel();
    void bindTexts();
    void bindImageButtons();
    void connectCommands();
    void connectJobCommands();
    void connectPlayerCommands();
    void connectHelpCommands();
    // The manual item (and F1) while the manual of the current language is there.
    void offerManual();
    void connectJobListView();
    // Shortcuts, the Alt keys of the menus and the tab order.
    void setUpKeyboard();

    void tell(const QString& text);
    ProfileSettingInfo chosenProfileSettings() const;
    void writeSettingsAndClose(bool closeButton);
    void offerJobListRestore();
    void restoreJobList(const std::vector<SavedJobRow>& rows);
    void addNextSource();
    void addSource(const QString& path, bool reportProblems);
    // Why the file cannot be added (empty when it can); probe holds its description then.
    static QString sourceProblem(const QString& path, SourceProbe& probe);
    void finishSources();
    void showRows();
    void onRowSelected(int index);
    void onRenameAccepted(int index, const QString& text);
    void setRenameKeyFilter(bool on);
    void applyChosenProfileToAll();
    void chooseOutputFolder();
    void openEditWindow();
    void withSelectedRow(const std::function<void(NodeData&)>& command);
    void startPreviewAt(NodeData& row, int seconds);
    void showPlayPicture(bool pause);
    void onPlayPosition(int totalSeconds, int currentSeconds);

    std::unique_ptr<QSettings> store_;
    AppSettings settings_;
    QString snapshotExtension_ = QStringLiteral(".jpg");
    bool shownOnce_ = false;
    std::function<void(const QString&)> messageSink_;
    JobList jobs_;
    std::unique_ptr<ProfileCombobox> picker_;
    std::deque<PendingSources> pendingSources_;
    QTimer* sourceTimer_ = nullptr;
    QProgressDialog* sourceProgress_ = nullptr;
    QString jobListFile_;
    QTimer* jobListTimer_ = nullptr;
    QByteArray savedJobList_;  // what the job list file holds
    QStringList sourceProblems_;  // "name: reason" of the chosen files not added so far
    bool renameKeyFilterOn_ = false;

    // Preview playback, all on the GUI thread except where said.
    bool playing_ = false;
    std::atomic<bool> isSeeking_{false};  // written here, read by the player's report thread
    int pendingSeeks_ = 0;
    int seekTarget_ = -1;
    std::shared_ptr<NamedEvent> playEvent_;
    int snapshotCounter_ = 0;
    uint32_t savedVolume_ = 0;
    TfrmPlayer* playerHost_ = nullptr;

    Buttons buttons_{};
    Actions actions_{};
    PictureBox* background_ = nullptr;
    QSizeGrip* sizeGrip_ = nullptr;
    JobListView* nodeTree_ = nullptr;
    QFrame* webBrowse_ = nullptr;
    QWidget* playPanel_ = nullptr;
    SkinSlider* trackBar_ = nullptr;
    QLineEdit* outputPath_ = nullptr;
    QLabel* profileLabel_ = nullptr;
    QLabel* pathLabel_ = nullptr;
    QCheckBox* applyToAll_ = nullptr;
    QCheckBox* merge_ = nullptr;
    QFrame* profilePanel_ = nullptr;
    QTreeWidget* categoryList_ = nullptr;
    QTreeWidget* profileList_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
};
