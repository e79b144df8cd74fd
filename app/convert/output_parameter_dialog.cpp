#include "output_parameter_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "i18n_binding.h"
#include "image_button.h"
#include "named_widget.h"
#include "picture_box.h"

namespace {

const char* const kChoiceLists[] = {"cmbResolution", "cmbFrameRate",    "cmbVideoEncoder",
                                    "cmbVideoBitrate", "cmbSampleRate", "cmbAudioChannel",
                                    "cmbAudioEncoder", "cmbAudioBitrate"};

const struct {
    const char* name;
    const char* id;
} kLabels[] = {{"Lab1", "04010"},   {"Lab2", "04011"},        {"Label3", "04012"},
               {"Label4", "04013"}, {"Label5", "04014"},      {"Label6", "04015"},
               {"Label7", "04016"}, {"Label8", "04017"},      {"VideoSetLab", "04058"},
               {"AudioSetLab", "04059"}};

}  // namespace

TfrmSet::TfrmSet() : SkinWindow({"set", "set/", QSize(500, 33)})
{
    setObjectName(QStringLiteral("TfrmSet"));
    auto* background = makeNamed<PictureBox>(this, "Set_BG");
    auto* close = makeNamed<ImageButton>(this, "close");
    auto* ok = makeNamed<ImageButton>(this, "set_ok");
    auto* cancel = makeNamed<ImageButton>(this, "set_cancel");
    for (const auto& label : kLabels) {
        bindI18nRows(makeNamed<QLabel>(this, label.name), {{"Caption", label.id}});
    }
    for (const char* name : kChoiceLists) {
        bindI18nRows(makeNamed<QComboBox>(this, name), {{"Items", "Items"}});
    }
    bindI18nRows(makeNamed<QCheckBox>(this, "setCustomSize"), {{"Caption", "05021"}});
    QLineEdit* width = makeFourDigitEdit(this, "setWidth");
    QLineEdit* height = makeFourDigitEdit(this, "setHeight");
    auto* times = makeNamed<QLabel>(this, "Lab_custom");
    times->setText(QStringLiteral("X"));
    times->setAlignment(Qt::AlignCenter);
    for (const char* heading : {"VideoSetLab", "AudioSetLab"}) {
        auto* label = findChild<QLabel*>(QLatin1String(heading));
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
    }
    bindI18nRows(ok, {{"Caption", "00036"}, {"Hint", "00037"}});
    bindI18nRows(cancel, {{"Caption", "00038"}, {"Hint", "00039"}});
    createFromSkin();
    for (QWidget* customSize : std::initializer_list<QWidget*>{width, height, times}) {
        customSize->hide();
    }
    keepVisibilityOnSkinSwitch({width, height, times, findChild<QWidget*>(QStringLiteral("setCustomSize")),
                                findChild<QWidget*>(QStringLiteral("cmbResolution"))});
    setDragBackground(background);
    for (ImageButton* button : {close, cancel, ok}) {
        connect(button, &ImageButton::clicked, this, &TfrmSet::close);
    }
}

void TfrmSet::showEvent(QShowEvent* event)
{
    applyI18nAll();
    SkinWindow::showEvent(event);
}
