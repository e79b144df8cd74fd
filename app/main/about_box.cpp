#include "about_box.h"

#include <QLabel>

#include "i18n_binding.h"
#include "image_button.h"
#include "named_widget.h"
#include "picture_box.h"

TfrmAbout::TfrmAbout() : SkinWindow({"about", "about/", QSize(420, 33)})
{
    setObjectName(QStringLiteral("TfrmAbout"));
    auto* background = makeNamed<PictureBox>(this, "BG_img");
    auto* close = makeNamed<ImageButton>(this, "close");
    auto* ok = makeNamed<ImageButton>(this, "about_ok");
    for (const auto& [name, id] : {std::pair{"version", "04050"}, std::pair{"Lab_supprot", "04051"},
                                   std::pair{"Lab_homepage", "04052"}}) {
        auto* label = makeNamed<QLabel>(this, name);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        bindI18nRows(label, {{"Caption", id}});
    }
    bindI18nRows(ok, {{"Caption", "00036"}, {"Hint", "00037"}});
    createFromSkin();
    setDragBackground(background);
    connect(close, &ImageButton::clicked, this, &TfrmAbout::close);
    connect(ok, &ImageButton::clicked, this, &TfrmAbout::close);
    setDialogButtons(ok, nullptr);
}
