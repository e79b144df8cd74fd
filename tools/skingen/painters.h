// The pictures of a skin: window backgrounds, button states, slider thumbs and bars.
#pragma once

#include <QImage>
#include <QString>

#include "skin_model.h"

enum class ButtonState { Normal, Hot, Down };

QImage paintBackground(const GenSkin& skin, const GenSection& section);

// What lies under a control: its part of the window background, or a tab page's colour.
QImage surfaceOf(const GenSkin& skin, const QImage& background, const GenItem& item, QSize size);

// A button of the item's style on its surface; caption drawn when not empty.
QImage paintButton(const GenSkin& skin, const GenItem& item, const QImage& surface,
                   ButtonState state, const QString& caption);

QImage paintThumb(const GenSkin& skin, const QImage& surface);
QImage paintPlainIcon(const GenSkin& skin, const GenItem& item, const QImage& surface);
QImage paintTrimBar(const GenSkin& skin);

// The player's idle picture and its background.
QImage paintPlayerIdle(const GenSkin& skin);
QImage paintPlayerBackground(const GenSkin& skin);

constexpr int kThumbSize = 16;
