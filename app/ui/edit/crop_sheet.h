// The edit window's crop and zoom sheet: the zoom mode, the four crop margins (typed, or dragged
// over the preview and reported by the player) and the custom output size that keeps the cropped
// picture's aspect.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "job_rows.h"

class ImageButton;
class PreviewController;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

class CropSheet : public QWidget {
public:
    CropSheet(QWidget* parent, const PreviewController& preview);

    // The custom size controls, shown only where the profile and the zoom mode allow a custom size.
    std::vector<QWidget*> customSizeControls() const;
    // Fills the zoom list in the current language (no signals).
    void fillChoices();
    void enablePictureControls(bool video);
    // Takes job (kept until release) and shows its custom size where it applies.
    void prepare(NodeSettingInfo& job);
    void release() { job_ = nullptr; }
    // Shows the job's zoom and margins and sends the margins to the preview.
    void load();
    // Writes the zoom, the margins and a custom size into the job.
    void write() const;
    // The original zoom and no margins: written into the job and sent at once.
    void reset();
    // A pair of margins the player reports from a rectangle dragged over the preview: top and
    // bottom (vertical) or left and right.
    void reportedCrop(bool vertical, int first, int second);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Crop margins in the order of the fields: top, bottom, left, right.
    enum Margin { Top, Bottom, Left, Right, MarginCount };

    void connectControls();
    void marginEdited(Margin margin, const QString& text);
    void setMargins(const std::array<int, MarginCount>& margins);
    void sendMargins() const;
    void applyCustomSizeRule(const std::string& zoom);
    void customSizeClicked(bool checked);
    void sizeEdited(QLineEdit* edited, QLineEdit* other, bool widthEdited);
    void loadCustomSizeTexts();
    int croppedWidth() const;
    int croppedHeight() const;

    const PreviewController& preview_;
    QComboBox* zoom_ = nullptr;
    std::array<QSpinBox*, MarginCount> marginFields_{};
    QCheckBox* customSize_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QLabel* widthLabel_ = nullptr;
    QLabel* heightLabel_ = nullptr;
    ImageButton* cropReset_ = nullptr;

    NodeSettingInfo* job_ = nullptr; // not owned
    // The margins last accepted by the crop rules; a refused margin returns to its value.
    std::array<int, MarginCount> margins_{};
    // The custom size texts after the last accepted change (width, height).
    std::pair<QString, QString> acceptedSize_;
};
