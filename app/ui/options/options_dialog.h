// The options dialog: skin, language, automatic update and web panel (tab "General"), snapshot
// picture format and folder (tab "Format").
#pragma once

#include <map>

#include "skin_window.h"

class QComboBox;
class QTabWidget;

class TfrmOption : public SkinWindow {
    Q_OBJECT
public:
    TfrmOption();

    // The skins offered, filled once when the main window is first shown, and the confirmed skin.
    void setSkinList(std::map<int, const SkinInfo*> skins);
    const std::map<int, const SkinInfo*>& skinList() const { return skins_; }
    void setCurrentSkin(const QString& path);
    const QString& currentSkin() const { return currentSkin_; }

    // Refills the skin entries with each skin's name in the current language.
    void rebuildSkinEntries();

private:
    QWidget* createGeneralPage();
    QWidget* createFormatPage();
    void bindTexts();

    QTabWidget* tabs_ = nullptr;
    QComboBox* skinChoice_ = nullptr;
    std::map<int, const SkinInfo*> skins_;
    QString currentSkin_;
};
