#include "properties_window.h"

#include <QLabel>
#include <QLineEdit>

#include "i18n_binding.h"
#include "image_button.h"
#include "named_widget.h"
#include "picture_box.h"

namespace {

const struct {
    const char* label;
    const char* id;
    const char* field;
} kRows[] = {{"name", "04055", "Text_N"},          {"length", "04056", "Text_L"},
             {"resolution", "04010", "Text_R"},    {"video_bitrate", "04013", "Text_vb"},
             {"frame", "04011", "Text_F"},         {"sample", "04014", "Text_S"},
             {"channel", "04015", "Text_C"},       {"audio_bitrate", "04017", "Text_AB"}};

}  // namespace

TfrmPro::TfrmPro() : SkinWindow({"pro", "property/", QSize(368, 33)})
{
    setObjectName(QStringLiteral("TfrmPro"));
    auto* background = makeNamed<PictureBox>(this, "BG_img");
    auto* close = makeNamed<ImageButton>(this, "close");
    auto* ok = makeNamed<ImageButton>(this, "ok_pro");
    for (const auto& row : kRows) {
        bindI18nRows(makeNamed<QLabel>(this, row.label), {{"Caption", row.id}});
        makeNamed<QLineEdit>(this, row.field)->setReadOnly(true);
    }
    bindI18nRows(ok, {{"Caption", "00036"}, {"Hint", "00037"}});
    createFromSkin();
    setDragBackground(background);
    connect(close, &ImageButton::clicked, this, &TfrmPro::close);
    connect(ok, &ImageButton::clicked, this, &TfrmPro::close);
}
