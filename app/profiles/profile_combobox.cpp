#include "profile_combobox.h"

#include <QCheckBox>
#include <QPainter>
#include <QPainterPath>

#include "job_list.h"
#include "vkoConverterDll.h"

namespace {

// What a picture shows: the arrow of a category row, then one picture per category id.
enum class PictureKind { Arrow, Note, Film, Player, Phone, Television, Console, Disc };

// The category ids (1 … 16) and their pictures: sound, films, or the device the output is for.
PictureKind kindOfCategory(int category)
{
    switch (category) {
    case 1: return PictureKind::Note;
    case 3:
    case 6:
    case 9: return PictureKind::Player;
    case 4:
    case 7:
    case 8:
    case 15: return PictureKind::Phone;
    case 5: return PictureKind::Television;
    case 10:
    case 12: return PictureKind::Console;
    case 11: return PictureKind::Disc;
    default: return PictureKind::Film;  // general, HD and high-efficiency video
    }
}

constexpr int kLargestCategory = 16;
constexpr int kAudioCategory = 1;

void drawArrow(QPainter& painter, int side)
{
    QPainterPath arrow;
    arrow.moveTo(side * 0.35, side * 0.25);
    arrow.lineTo(side * 0.7, side * 0.5);
    arrow.lineTo(side * 0.35, side * 0.75);
    painter.setPen(QPen(QColor(0x5a, 0x66, 0x78), side / 10.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(arrow);
}

// The white drawing on a tile, in a square of side s.
void drawSymbol(QPainter& painter, double s, PictureKind kind)
{
    switch (kind) {
    case PictureKind::Note:
        painter.drawEllipse(QRectF(s * 0.28, s * 0.56, s * 0.18, s * 0.14));
        painter.drawLine(QPointF(s * 0.46, s * 0.63), QPointF(s * 0.46, s * 0.28));
        painter.drawLine(QPointF(s * 0.46, s * 0.28), QPointF(s * 0.68, s * 0.36));
        break;
    case PictureKind::Film:
        painter.drawRect(QRectF(s * 0.26, s * 0.3, s * 0.48, s * 0.4));
        for (double x : {0.32, 0.44, 0.56, 0.68}) {
            painter.drawPoint(QPointF(s * x, s * 0.35));
            painter.drawPoint(QPointF(s * x, s * 0.65));
        }
        break;
    case PictureKind::Player:
        painter.drawRoundedRect(QRectF(s * 0.34, s * 0.24, s * 0.32, s * 0.52), s * 0.05, s * 0.05);
        painter.drawEllipse(QRectF(s * 0.44, s * 0.56, s * 0.12, s * 0.12));
        break;
    case PictureKind::Phone:
        painter.drawRoundedRect(QRectF(s * 0.37, s * 0.22, s * 0.26, s * 0.56), s * 0.05, s * 0.05);
        painter.drawLine(QPointF(s * 0.46, s * 0.72), QPointF(s * 0.54, s * 0.72));
        break;
    case PictureKind::Television:
        painter.drawRoundedRect(QRectF(s * 0.25, s * 0.3, s * 0.5, s * 0.36), s * 0.05, s * 0.05);
        painter.drawLine(QPointF(s * 0.4, s * 0.74), QPointF(s * 0.6, s * 0.74));
        break;
    case PictureKind::Console:
        painter.drawRoundedRect(QRectF(s * 0.24, s * 0.36, s * 0.52, s * 0.3), s * 0.12, s * 0.12);
        painter.drawLine(QPointF(s * 0.32, s * 0.51), QPointF(s * 0.42, s * 0.51));
        painter.drawLine(QPointF(s * 0.37, s * 0.46), QPointF(s * 0.37, s * 0.56));
        painter.drawPoint(QPointF(s * 0.63, s * 0.48));
        painter.drawPoint(QPointF(s * 0.58, s * 0.55));
        break;
    case PictureKind::Disc:
        painter.drawEllipse(QRectF(s * 0.27, s * 0.27, s * 0.46, s * 0.46));
        painter.drawEllipse(QRectF(s * 0.45, s * 0.45, s * 0.1, s * 0.1));
        break;
    case PictureKind::Arrow:
        break;
    }
}

// A rounded tile in the colour of its category with the category's picture on it.
void drawTile(QPainter& painter, int side, int category)
{
    const QColor colour = QColor::fromHsv(category * 47 % 360, 150, 200);
    const QRectF tile(side * 0.08, side * 0.08, side * 0.84, side * 0.84);
    QLinearGradient shade(tile.topLeft(), tile.bottomLeft());
    shade.setColorAt(0, colour.lighter(125));
    shade.setColorAt(1, colour.darker(125));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawRoundedRect(tile, side * 0.18, side * 0.18);
    painter.setPen(QPen(Qt::white, std::max(1.0, side / 16.0), Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    drawSymbol(painter, side, kindOfCategory(category));
}

}  // namespace

std::vector<QIcon> profilePickerIcons(int side)
{
    std::vector<QIcon> icons;
    for (int index = 0; index <= kLargestCategory; ++index) {
        QPixmap picture(side, side);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        if (index == 0)
            drawArrow(painter, side);
        else
            drawTile(painter, side, index);
        painter.end();
        icons.emplace_back(picture);
    }
    return icons;
}

ProfileCombobox::ProfileCombobox(JobList& jobs, QCheckBox* applyToAll, ImageButton* button, QFrame* panel,
                                 QTreeWidget* categories, QTreeWidget* profiles, QObject* hook,
                                 std::string profileFolder)
    : VKOMultiLevelCombobox(button, panel, {categories, profiles}, hook), jobs_(jobs), applyToAll_(applyToAll),
      catalogue_(std::move(profileFolder))
{
    setItems(catalogue_.categories(), catalogue_.lookup(), nullptr);
}

void ProfileCombobox::reload()
{
    catalogue_.reload();
    const ComboboxSelectObject* current = currentItem();
    const std::string name = current == nullptr ? std::string() : current->getString();
    setItems(catalogue_.categories(), catalogue_.lookup(), name.c_str());
}

const ProfileSelectObject* ProfileCombobox::currentProfile() const
{
    return dynamic_cast<const ProfileSelectObject*>(currentItem());
}

void ProfileCombobox::onItemChosen()
{
    const ProfileSelectObject* profile = currentProfile();
    if (profile == nullptr)
        return;
    const ProfileSettingInfo chosen = profileSettingInfoOf(*profile);
    if (applyToAll_->isChecked())
        jobs_.applyProfileToAll(chosen);
    else if (NodeData* row = jobs_.selectedRow())
        JobList::applyProfileToRow(*row, chosen);
    else
        return;
    emit rowsChanged();
}

int ProfileCombobox::onGetImageIndex(int level, const VKOComboboxInfo& node, int column) const
{
    if (level == 0) {
        if (column == 2)
            return 0;
        return column == 0 ? pictureOfCategory(node.object->getId()) : -1;
    }
    const auto* profile = dynamic_cast<const ProfileSelectObject*>(node.object.get());
    if (column != 0 || profile == nullptr)
        return -1;
    // Sound keeps its note wherever it is listed; pictures show the category's device.
    return pictureOfCategory(profile->mediaType() == 1 ? kAudioCategory : profile->categoryId());
}

int ProfileCombobox::pictureOfCategory(int category)
{
    return category >= 1 && category <= kLargestCategory ? category : -1;
}
