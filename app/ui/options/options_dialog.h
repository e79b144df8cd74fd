// The options dialog: skin, language, automatic update and web panel (tab "General"), snapshot
// picture format and folder (tab "Format").
#pragma once

#include <QString>
#include <functional>
#include <map>

#include "skin_window.h"

class ImageButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;
class TfrmMain;

class TfrmOption : public SkinWindow {
    Q_OBJECT
public:
    TfrmOption();

    // Makes path the current skin of every window.
    using SkinSwitcher = std::function<void(const QString& path)>;
    // Lets the user choose a folder without a nested event loop; chosen runs with the folder's
    // path once one is chosen.
    using FolderPicker =
        std::function<void(QWidget* parent, const QString& title, std::function<void(const QString&)> chosen)>;

    // The main window the dialog reads its settings from and hands its choices to.
    void attach(TfrmMain* main, SkinSwitcher switchSkin);
    void setFolderPicker(FolderPicker picker) { pickFolder_ = std::move(picker); }

    // The skins offered, filled once when the main window is first shown, and the confirmed skin.
    void setSkinList(std::map<int, const SkinInfo*> skins);
    const std::map<int, const SkinInfo*>& skinList() const { return skins_; }
    void setCurrentSkin(const QString& path);
    const QString& currentSkin() const { return currentSkin_; }
    const QString& pendingSkin() const { return pendingSkin_; }
    const QString& snapshotExtension() const { return snapshotExtension_; }
    const QString& snapshotFolder() const { return snapshotFolder_; }

    // Refills the skin entries with each skin's name in the current language.
    void rebuildSkinEntries();

    // What the lists do when the user picks an entry (the "General" tab only shows them).
    void pickSkin(int index);
    void pickLanguage(int index);
    void pickFormat(int index);

    QComboBox* skinChoice() const { return skinChoice_; }
    QComboBox* languageChoice() const { return languageChoice_; }
    QComboBox* formatChoice() const { return formatChoice_; }
    QLineEdit* folderText() const { return folderText_; }
    QCheckBox* autoUpdateBox() const { return autoUpdate_; }
    QCheckBox* showWebBox() const { return showWeb_; }
    QComboBox* conversionsChoice() const { return conversionsChoice_; }
    QTabWidget* tabs() const { return tabs_; }
    ImageButton* okButton() const { return ok_; }
    ImageButton* cancelButton() const { return cancel_; }
    ImageButton* closeButton() const { return close_; }
    ImageButton* changeFolderButton() const { return changeFolder_; }

signals:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* createGeneralPage();
    QWidget* createFormatPage();
    void bindTexts();
    void prepare();
    void fillLanguages(int selected);
    void fillConversions(int selected);
    void changeFolder();
    void openFolder();
    void confirm();
    void cancel();

    QTabWidget* tabs_ = nullptr;
    QComboBox* skinChoice_ = nullptr;
    QComboBox* languageChoice_ = nullptr;
    QComboBox* formatChoice_ = nullptr;
    QLineEdit* folderText_ = nullptr;
    QCheckBox* autoUpdate_ = nullptr;
    QCheckBox* showWeb_ = nullptr;
    QComboBox* conversionsChoice_ = nullptr;  // "Automatic", 1 ... kMostConversionsAtOnce
    ImageButton* ok_ = nullptr;
    ImageButton* cancel_ = nullptr;
    ImageButton* close_ = nullptr;
    ImageButton* changeFolder_ = nullptr;
    ImageButton* openFolder_ = nullptr;

    TfrmMain* main_ = nullptr;
    SkinSwitcher switchSkin_;
    FolderPicker pickFolder_;
    std::map<int, const SkinInfo*> skins_;
    QString currentSkin_;
    QString pendingSkin_;
    int skinIndexAtOpen_ = -1;
    QString languageAtOpen_;
    QString snapshotExtension_ = QStringLiteral(".jpg");
    QString snapshotFolder_;
};
