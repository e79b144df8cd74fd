#include "crop_sheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

#include "choice_combo.h"
#include "edit_rules.h"
#include "edit_sheet.h"
#include "fixed_field.h"
#include "image_button.h"
#include "message_box.h"
#include "named_widget.h"
#include "preview_controller.h"

namespace {

QSpinBox* makeMarginField(QWidget* parent, const char* name)
{
    auto* field = makeNamed<QSpinBox>(parent, name);
    field->setRange(0, 10000);
    field->setButtonSymbols(QAbstractSpinBox::NoButtons);
    return field;
}

} // namespace

CropSheet::CropSheet(QWidget* parent, const PreviewController& preview) : QWidget(parent), preview_(preview)
{
    setObjectName(QStringLiteral("CropSheet"));
    editsheet::makeLabels(this, {"zoom", "left", "right", "top", "bottom"});
    widthLabel_ = makeNamed<QLabel>(this, "Lab_width");
    heightLabel_ = makeNamed<QLabel>(this, "Lab_height");
    zoom_ = makeNamed<QComboBox>(this, "Crop_zoom");
    marginFields_[Left] = makeMarginField(this, "Crop_left");
    marginFields_[Right] = makeMarginField(this, "Crop_right");
    marginFields_[Top] = makeMarginField(this, "Crop_top");
    marginFields_[Bottom] = makeMarginField(this, "Crop_bottom");
    customSize_ = makeNamed<QCheckBox>(this, "CustomSize");
    width_ = makeFourDigitEdit(this, "width");
    height_ = makeFourDigitEdit(this, "height");
    cropReset_ = makeNamed<ImageButton>(this, "Crop_reset_img");
    connectControls();
}

std::vector<QWidget*> CropSheet::customSizeControls() const
{
    return {customSize_, width_, height_, widthLabel_, heightLabel_};
}

void CropSheet::connectControls()
{
    for (int margin = 0; margin < MarginCount; ++margin) {
        marginFields_[margin]->installEventFilter(this);
        connect(marginFields_[margin], &QSpinBox::textChanged, this,
                [this, margin](const QString& text) { marginEdited(static_cast<Margin>(margin), text); });
    }
    width_->installEventFilter(this);
    height_->installEventFilter(this);
    connect(width_, &QLineEdit::textEdited, this, [this] { sizeEdited(width_, height_, true); });
    connect(height_, &QLineEdit::textEdited, this, [this] { sizeEdited(height_, width_, false); });
    connect(zoom_, &QComboBox::currentIndexChanged, this, [this] {
        char zoom[20] = "";
        // Refilling the list (a language change) passes through no selection: nothing to decide.
        if (job_ != nullptr && getChoiceValue(zoom, zoom_)) {
            applyCustomSizeRule(zoom);
        }
    });
    connect(customSize_, &QCheckBox::clicked, this, &CropSheet::customSizeClicked);
    connect(cropReset_, &ImageButton::clicked, this, &CropSheet::reset);
}

bool CropSheet::eventFilter(QObject* watched, QEvent* event)
{
    return editsheet::dropsNumberFieldKey(event) || QWidget::eventFilter(watched, event);
}

void CropSheet::fillChoices()
{
    const QSignalBlocker blocker(zoom_);
    editsheet::fillConstChoices(zoom_, {{ChoiceValue::ofText("original"), "05011"},
                                        {ChoiceValue::ofText("full"), "05012"},
                                        {ChoiceValue::ofText("16:9"), "05013"},
                                        {ChoiceValue::ofText("4:3"), "05014"}});
}

void CropSheet::enablePictureControls(bool video)
{
    zoom_->setEnabled(video);
    for (QSpinBox* field : marginFields_) {
        field->setEnabled(video);
    }
}

void CropSheet::prepare(NodeSettingInfo& job)
{
    job_ = &job;
    applyCustomSizeRule(job.crop.zoom);
}

void CropSheet::load()
{
    const CropSetting& crop = job_->crop;
    setMargins({crop.top, crop.bottom, crop.left, crop.right});
    {
        const QSignalBlocker blocker(zoom_);
        selectChoiceByValue(zoom_, crop.zoom);
    }
    sendMargins();
}

void CropSheet::marginEdited(Margin margin, const QString& text)
{
    if (text.isEmpty() || job_ == nullptr) {
        return;
    }
    bool number = false;
    const int value = text.toInt(&number);
    if (!number) {
        return;
    }
    const Margin opposite = static_cast<Margin>(margin ^ 1);
    const int side = margin == Top || margin == Bottom ? editsheet::sourceHeight(job_) : editsheet::sourceWidth(job_);
    if (!editrules::marginsFit(value, margins_[opposite], side)) {
        const QSignalBlocker blocker(marginFields_[margin]);
        marginFields_[margin]->setValue(margins_[margin]);
        showPlainMessage(window(), QStringLiteral("Crop error!"));
        return;
    }
    margins_[margin] = value;
    static constexpr PlayerCommand commands[] = {PlayerCommand::TopCrop, PlayerCommand::BottomCrop,
                                                 PlayerCommand::LeftCrop, PlayerCommand::RightCrop};
    preview_.send(commands[margin], value);
}

void CropSheet::setMargins(const std::array<int, MarginCount>& margins)
{
    margins_ = margins;
    for (int margin = 0; margin < MarginCount; ++margin) {
        const QSignalBlocker blocker(marginFields_[margin]);
        marginFields_[margin]->setValue(margins[margin]);
    }
}

void CropSheet::sendMargins() const
{
    preview_.send(PlayerCommand::TopCrop, margins_[Top]);
    preview_.send(PlayerCommand::BottomCrop, margins_[Bottom]);
    preview_.send(PlayerCommand::LeftCrop, margins_[Left]);
    preview_.send(PlayerCommand::RightCrop, margins_[Right]);
}

void CropSheet::reportedCrop(bool vertical, int firstValue, int secondValue)
{
    const Margin first = vertical ? Top : Left;
    const Margin second = static_cast<Margin>(first + 1);
    // The pair is checked as a whole: setting one margin after the other could refuse a valid
    // report against the other's old value.
    const QSignalBlocker firstBlocker(marginFields_[first]);
    const QSignalBlocker secondBlocker(marginFields_[second]);
    if (firstValue < 0 || secondValue < 0 ||
        !editrules::marginsFit(firstValue, secondValue,
                               vertical ? editsheet::sourceHeight(job_) : editsheet::sourceWidth(job_))) {
        showPlainMessage(window(), QStringLiteral("Crop error!"));
        return;
    }
    marginFields_[first]->setValue(firstValue);
    marginFields_[second]->setValue(secondValue);
    margins_[first] = firstValue;
    margins_[second] = secondValue;
    preview_.send(vertical ? PlayerCommand::TopCrop : PlayerCommand::LeftCrop, firstValue);
    preview_.send(vertical ? PlayerCommand::BottomCrop : PlayerCommand::RightCrop, secondValue);
    QLineEdit* size = vertical ? height_ : width_;
    size->setText(QString::number(vertical ? croppedHeight() : croppedWidth()));
    acceptedSize_ = {width_->text(), height_->text()};
}

void CropSheet::applyCustomSizeRule(const std::string& zoom)
{
    const ProfileSettingInfo* profile = job_ ? job_->profile : nullptr;
    const bool shown = profile != nullptr && editrules::customSizeShown(profile->mediaType, profile->format, zoom);
    for (QWidget* control : customSizeControls()) {
        control->setVisible(shown);
    }
    if (!shown) {
        return;
    }
    customSize_->setChecked(job_->crop.customSize != 0);
    loadCustomSizeTexts();
}

void CropSheet::customSizeClicked(bool checked)
{
    job_->crop.customSize = checked ? 1 : 0;
    loadCustomSizeTexts();
}

void CropSheet::loadCustomSizeTexts()
{
    const bool custom = job_->crop.customSize != 0;
    width_->setEnabled(custom);
    height_->setEnabled(custom);
    width_->setText(QString::fromLatin1(job_->crop.customWidth));
    height_->setText(QString::fromLatin1(job_->crop.customHeight));
    acceptedSize_ = {width_->text(), height_->text()};
}

void CropSheet::sizeEdited(QLineEdit* edited, QLineEdit* other, bool widthEdited)
{
    const QString text = edited->text();
    if (text.isEmpty()) {
        other->clear();
        return;
    }
    const std::optional<int> typed = editrules::parseSizeText(text.toStdString());
    if (!typed) {
        return;
    }
    const int croppedThis = widthEdited ? croppedWidth() : croppedHeight();
    const int croppedOther = widthEdited ? croppedHeight() : croppedWidth();
    if (croppedThis > 0 && croppedOther > 0) {
        const std::optional<int> side = editrules::keptAspectSide(*typed, croppedThis, croppedOther);
        if (!side) {
            // The other side would not fit its four digits: the edit is refused.
            edited->setText(widthEdited ? acceptedSize_.first : acceptedSize_.second);
            return;
        }
        other->setText(QString::number(*side));
    }
    edited->setText(QString::number(*typed));
    acceptedSize_ = {width_->text(), height_->text()};
}

int CropSheet::croppedWidth() const
{
    return editsheet::sourceWidth(job_) - margins_[Left] - margins_[Right];
}

int CropSheet::croppedHeight() const
{
    return editsheet::sourceHeight(job_) - margins_[Top] - margins_[Bottom];
}

void CropSheet::write() const
{
    CropSetting& crop = job_->crop;
    getChoiceValue(crop.zoom, zoom_);
    crop.top = margins_[Top];
    crop.bottom = margins_[Bottom];
    crop.left = margins_[Left];
    crop.right = margins_[Right];
    if (crop.customSize) {
        copyCut(crop.customWidth, width_->text().toLatin1().toStdString());
        copyCut(crop.customHeight, height_->text().toLatin1().toStdString());
    }
}

void CropSheet::reset()
{
    {
        const QSignalBlocker blocker(zoom_);
        zoom_->setCurrentIndex(0);
    }
    setMargins({0, 0, 0, 0});
    write();
    sendMargins();
    applyCustomSizeRule(job_->crop.zoom);
}
