#include "skin_window.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPainterPath>
#include <QRegion>

#include "drag_strip.h"
#include "image_button.h"
#include "picture_box.h"
#include "skin_folder.h"
#include "skin_slider.h"

namespace {

// Window size used when the skin gives none (no skin could be loaded).
QSize fallbackSize(const QSize& strip)
{
    return {strip.width(), strip.width() * 2 / 3};
}

}  // namespace

SkinWindow::SkinWindow(const SkinWindowSpec& spec, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), spec_(spec)
{
}

void SkinWindow::renewSkinSection()
{
    section_ = getSkinSection(spec_.section);
    const SkinItem* form = skinItem(QString::fromLatin1(spec_.section) + "FormCreate");
    if (form != nullptr && form->width > 0 && form->height > 0) {
        size_ = QSize(form->width, form->height);
        corner_ = QSize(form->left, form->top);
    } else if (size_.isEmpty()) {
        size_ = fallbackSize(spec_.dragStrip);
    }
}

const SkinItem* SkinWindow::skinItem(const QString& name) const
{
    return getSkinItem(section_, name.toUtf8().constData());
}

QString SkinWindow::picturePath(const QString& base, PictureKind kind) const
{
    return skinPictureFile(skinImageFolder() + QLatin1String(spec_.pictureFolder) + skinPictureName(base, kind));
}

void SkinWindow::applyControlLayout(QWidget* control, const SkinItem& item) const
{
    control->setGeometry(item.left, item.top, item.width, item.height);
    control->setVisible((item.visible & 0xff) != 0);
    auto* button = qobject_cast<ImageButton*>(control);
    if (button != nullptr && item.fontSize > 0) {
        button->setCaptionStyle(QColor(QString::fromUtf8(item.fontColor)), item.fontSize);
    }
}

void SkinWindow::applySkinLayout()
{
    for (QWidget* control : findChildren<QWidget*>()) {
        if (const SkinItem* item = control->objectName().isEmpty() ? nullptr
                                                                   : skinItem(control->objectName())) {
            applyControlLayout(control, *item);
        }
    }
}

void SkinWindow::loadButtonPictures(ImageButton* button, const QString& itemName) const
{
    if (const SkinItem* item = skinItem(itemName)) {
        loadButtonPictures(button, *item);
    }
}

void SkinWindow::loadButtonPictures(ImageButton* button, const SkinItem& item) const
{
    if (*item.picture == '\0') {
        return;
    }
    const QString base = QString::fromUtf8(item.picture);
    button->loadPicture(ImageButton::State::Normal, picturePath(base, PictureKind::Normal));
    button->loadPicture(ImageButton::State::Hot, picturePath(base, PictureKind::Hot));
    button->loadPicture(ImageButton::State::Down, picturePath(base, PictureKind::Down));
}

void SkinWindow::applyControlPictures(QWidget* control, const SkinItem& item) const
{
    const QString base = QString::fromUtf8(item.picture);
    if (auto* button = qobject_cast<ImageButton*>(control)) {
        loadButtonPictures(button, item);
    } else if (auto* slider = qobject_cast<SkinSlider*>(control)) {
        slider->loadThumb(picturePath(base, PictureKind::Plain));
    } else if (auto* picture = qobject_cast<PictureBox*>(control)) {
        picture->loadPicture(picturePath(base, PictureKind::Plain));
    }
}

void SkinWindow::applySkinPictures()
{
    for (QWidget* control : findChildren<QWidget*>()) {
        const SkinItem* item = control->objectName().isEmpty() ? nullptr
                                                               : skinItem(control->objectName());
        if (item != nullptr && *item->picture != '\0') {
            applyControlPictures(control, *item);
        }
    }
}

void SkinWindow::reskin()
{
    std::vector<bool> hidden;
    for (const QPointer<QWidget>& control : stateful_) {
        hidden.push_back(control.isNull() || control->isHidden());
    }
    renewSkinSection();
    applySkinPictures();
    applySkinLayout();
    for (size_t index = 0; index < stateful_.size(); ++index) {
        if (!stateful_[index].isNull()) {
            stateful_[index]->setHidden(hidden[index]);
        }
    }
}

void SkinWindow::keepVisibilityOnSkinSwitch(const std::vector<QWidget*>& controls)
{
    stateful_.insert(stateful_.end(), controls.begin(), controls.end());
}

void SkinWindow::applyWindowShape()
{
    setFixedSize(size_);
    move(0, 0);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(size_)), corner_.width() / 2.0,
                           corner_.height() / 2.0);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

void SkinWindow::createFromSkin()
{
    renewSkinSection();
    applySkinPictures();
    applySkinLayout();
    applyWindowShape();
}

void SkinWindow::setDragBackground(QWidget* background)
{
    installDragStrip(background, this, spec_.dragStrip);
}

void SkinWindow::setDialogButtons(QAbstractButton* confirm, QAbstractButton* cancel)
{
    dialogKeys_ = true;
    confirmButton_ = confirm;
    cancelButton_ = cancel;
}

void SkinWindow::keyPressEvent(QKeyEvent* event)
{
    if (dialogKeys_ && event->modifiers() == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Escape:
            if (cancelButton_)
                cancelButton_->click();
            else
                close();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (confirmButton_) {
                confirmButton_->click();
                return;
            }
            break;
        default:
            break;
        }
    }
    QWidget::keyPressEvent(event);
}
