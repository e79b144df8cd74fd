// Changing the skin of every window while the program runs.
#pragma once

#include <QString>
#include <vector>

class SkinWindow;

struct SkinSwitchWindows {
    SkinWindow* options = nullptr;
    SkinWindow* main = nullptr;
    // About box, progress window, edit window, name dialog, properties window, save dialog and
    // output parameter dialog, re-skinned in this order.
    std::vector<SkinWindow*> others;
};

// Makes path the current skin (the default one when path cannot be loaded) and re-skins the
// windows: the options dialog first, then the main window, then the others; the texts and
// language-specific pictures are applied again after the options dialog and at the end.
void switchSkin(const QString& path, const SkinSwitchWindows& windows);
