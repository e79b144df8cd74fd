// The program's home window: job list, profile picker, output folder, preview panel and the
// buttons and menus that open every other window.
#pragma once

#include <QSettings>
#include <memory>

#include "app_settings.h"
#include "skin_window.h"

class ImageButton;
class PictureBox;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QTreeWidget;
class SkinSlider;

class TfrmMain : public SkinWindow {
    Q_OBJECT
public:
    explicit TfrmMain(std::unique_ptr<QSettings> store);
    ~TfrmMain() override;

    const AppSettings& settings() const { return settings_; }
    QSettings& settingsStore() { return *store_; }
    QTreeWidget* jobList() const { return nodeTree_; }
    QWidget* previewPanel() const { return playPanel_; }
    QCheckBox* applyToAll() const { return applyToAll_; }
    QCheckBox* mergeIntoOne() const { return merge_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* editMenu() const { return editMenu_; }
    QMenu* helpMenu() const { return helpMenu_; }

    void setSnapshotOptions(const QString& extension, const QString& folder);
    const QString& snapshotExtension() const { return snapshotExtension_; }
    void setOptionFlags(int autoUpdate, int autoShowWeb);
    void hideWebPanel();

    // Re-skins after a skin switch: pictures, layout, slider focus, web panel hidden.
    void reskin() override;

signals:
    // The first show of the main window, after its texts were applied.
    void firstShown();
    void optionsRequested();
    void aboutRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void createToolbarButtons();
    void createPlayerControls();
    void createOutputControls();
    void createMenus();
    void createJobList();
    void setUpWebPanel();
    void bindTexts();
    void bindImageButtons();
    void connectCommands();
    void closeWritingSettings();

    std::unique_ptr<QSettings> store_;
    AppSettings settings_;
    QString snapshotExtension_ = QStringLiteral(".jpg");
    bool shownOnce_ = false;

    PictureBox* background_ = nullptr;
    QTreeWidget* nodeTree_ = nullptr;
    QFrame* webBrowse_ = nullptr;
    QWidget* playPanel_ = nullptr;
    SkinSlider* trackBar_ = nullptr;
    QLineEdit* outputPath_ = nullptr;
    QCheckBox* applyToAll_ = nullptr;
    QCheckBox* merge_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
};
