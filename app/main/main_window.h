// The program's home window: job list, profile picker, output folder, preview panel and the
// buttons and menus that open every other window. The window makes its controls, lays them out
// on its skin and hands them to its command groups: job_commands (adding files, the list, the job
// list file), conversion_commands (output folder, row settings windows, start), preview_commands
// (the preview panel and its player) and help_commands (the Help menu).
#pragma once

#include <QSettings>
#include <functional>
#include <memory>

#include "app_settings.h"
#include "conversion_run.h"
#include "job_list.h"
#include "main_controls.h"
#include "skin_window.h"

class ConversionCommands;
class HelpCommands;
class ImageButton;
class JobCommands;
class JobListView;
class PictureBox;
class ProfileCombobox;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class PreviewCommands;
class QSizeGrip;
class QTreeWidget;
class SkinSlider;

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
    QString outputFolder() const;
    void showOutputFolder(const QString& folder);

    // The command groups.
    JobCommands& jobCommands() { return *jobCommands_; }
    ConversionCommands& conversionCommands() { return *conversionCommands_; }
    PreviewCommands& preview() { return *previewCommands_; }
    HelpCommands& helpCommands() { return *helpCommands_; }

    void setOptionFlags(int autoUpdate, int autoShowWeb);
    void setConversionsAtOnce(int count) { settings_.conversionsAtOnce = count; }
    void setLanguage(const QString& language) { settings_.language = language; }
    void hideWebPanel();
    // Where messages go; an empty sink (the default) shows a plain message box.
    void setMessageSink(std::function<void(const QString&)> sink);
    void tell(const QString& text);
    // The profile chosen in the picker, as new rows get it.
    ProfileSettingInfo chosenProfileSettings() const;

    // The close button: the settings with the current profile, and the volume found at start back.
    void closeWritingSettings();
    // File > Exit: the settings without the profile (the stored one stays); the volume stays.
    void exitWritingSettings();

    // Re-skins after a skin switch: pictures, layout, slider focus, web panel hidden.
    void reskin() override;
    // The skin's places, then stretched to the window's size: the list and the preview grow.
    void applySkinLayout() override;

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
    // Nothing is left to add after the job commands' addFiles / addFolder / addDroppedPaths.
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
    void createCommands();
    void setUpWebPanel();
    void bindTexts();
    void bindImageButtons();
    void connectCommands();
    // Shortcuts, the Alt keys of the menus and the tab order.
    void setUpKeyboard();
    void writeSettingsAndClose(bool closeButton);
    void onRowSelected(int index);

    std::unique_ptr<QSettings> store_;
    AppSettings settings_;
    bool shownOnce_ = false;
    std::function<void(const QString&)> messageSink_;
    JobList jobs_;
    std::unique_ptr<ProfileCombobox> picker_;

    MainButtons buttons_{};
    MainActions actions_{};
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

    // The command groups (after the rows and controls they use, so they go first).
    std::unique_ptr<JobCommands> jobCommands_;
    std::unique_ptr<PreviewCommands> previewCommands_;
    std::unique_ptr<ConversionCommands> conversionCommands_;
    std::unique_ptr<HelpCommands> helpCommands_;
};
