#include "progress_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QProgressBar>

#include "fp_exceptions.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "named_widget.h"
#include "picture_box.h"

namespace {

QProgressBar* makeBar(QWidget* parent, const char* name)
{
    auto* bar = makeNamed<QProgressBar>(parent, name);
    bar->setTextVisible(false);
    bar->setValue(0);
    return bar;
}

}  // namespace

TfrmConvert::TfrmConvert() : SkinWindow({"convert", "convert/", QSize(427, 33)})
{
    setObjectName(QStringLiteral("TfrmConvert"));
    auto* background = makeNamed<PictureBox>(this, "BG_img");
    auto* close = makeNamed<ImageButton>(this, "close");
    auto* minimise = makeNamed<ImageButton>(this, "convert_mini");
    makeNamed<QWidget>(this, "ConvertPlayPanel");
    makeBar(this, "OneProgress");
    makeBar(this, "TotalProgress");
    makeNamed<QPlainTextEdit>(this, "ShowResult")->setReadOnly(true);
    auto* preview = makeNamed<QCheckBox>(this, "Preview");
    preview->setChecked(true);
    auto* showPath = makeNamed<QCheckBox>(this, "ShowPath");
    auto* shutDown = makeNamed<QCheckBox>(this, "ShutDown");
    auto* cancel = makeNamed<ImageButton>(this, "cancel");
    createFromSkin();
    keepPreviewSize();
    setDragBackground(background);
    bindI18nRows(cancel, {{"Caption", "00038"}, {"Hint", "00039"}});
    bindI18nRows(preview, {{"Caption", "05023"}});
    bindI18nRows(showPath, {{"Caption", "05024"}});
    bindI18nRows(shutDown, {{"Caption", "05025"}});
    maskFloatingPointExceptions();
    connect(close, &ImageButton::clicked, this, &TfrmConvert::close);
    connect(cancel, &ImageButton::clicked, this, &TfrmConvert::close);
    connect(minimise, &ImageButton::clicked, this, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible()) {
                window->showMinimized();
            }
        }
    });
}

void TfrmConvert::keepPreviewSize()
{
    if (const SkinItem* panel = skinItem(QStringLiteral("ConvertPlayPanel"))) {
        previewSize_ = QSize(panel->width, panel->height);
    }
}

void TfrmConvert::reskin()
{
    SkinWindow::reskin();
    keepPreviewSize();
}
