#include "skin_switch.h"

#include "i18n_binding.h"
#include "skin_catalogue.h"
#include "skin_window.h"

void switchSkin(const QString& path, const SkinSwitchWindows& windows)
{
    loadCurrentSkin(path);
    if (windows.options != nullptr) {
        windows.options->renewSkinSection();
        windows.options->applySkinLayout();
        windows.options->applySkinPictures();
    }
    applyI18nAll();
    if (windows.main != nullptr) {
        windows.main->reskin();
    }
    for (SkinWindow* window : windows.others) {
        if (window != nullptr) {
            window->reskin();
        }
    }
    applyI18nAll();
}
