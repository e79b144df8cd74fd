#include "profile_combobox.h"

#include <QCheckBox>
#include <QPainter>
#include <QPainterPath>

#include "job_list.h"
#include "vkoConverterDll.h"

namespace {

constexpr int kPickerIconCount = 66;

void drawArrow(QPainter& painter, int side)
{
    QPainterPath arrow;
    arrow.moveTo(side * 0.35, side * 0.25);
    arrow.lineTo(side * 0.7, side * 0.5);
    arrow.lineTo(side * 0.35, side * 0.75);
    painter.setPen(QPen(QColor(0x5a, 0x66, 0x78), side / 10.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(arrow);
}

// A rounded tile in a colour of its own with a small screen or note drawn on it.
void drawTile(QPainter& painter, int side, int index)
{
    const QColor colour = QColor::fromHsv(index * 47 % 360, 150, 200);
    const QRectF tile(side * 0.08, side * 0.08, side * 0.84, side * 0.84);
    QLinearGradient shade(tile.topLeft(), tile.bottomLeft());
    shade.setColorAt(0, colour.lighter(125));
    shade.setColorAt(1, colour.darker(125));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawRoundedRect(tile, side * 0.18, side * 0.18);
    painter.setPen(QPen(Qt::white, std::max(1.0, side / 16.0)));
    painter.setBrush(Qt::NoBrush);
    if (index % 2 == 0) {
        painter.drawRoundedRect(QRectF(side * 0.25, side * 0.3, side * 0.5, side * 0.36), side * 0.05, side * 0.05);
        painter.drawLine(QPointF(side * 0.4, side * 0.74), QPointF(side * 0.6, side * 0.74));
    } else {
        painter.drawEllipse(QRectF(side * 0.28, side * 0.56, side * 0.18, side * 0.14));
        painter.drawLine(QPointF(side * 0.46, side * 0.63), QPointF(side * 0.46, side * 0.28));
        painter.drawLine(QPointF(side * 0.46, side * 0.28), QPointF(side * 0.68, side * 0.36));
    }
}

}  // namespace

std::vector<QIcon> profilePickerIcons(int side)
{
    std::vector<QIcon> icons;
    for (int index = 0; index < kPickerIconCount; ++index) {
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
        const int id = node.object->getId();
        if (column == 2)
            return 0;
        return column == 0 ? id + (id >= 14 ? 1 : 0) : -1;
    }
    const auto* profile = dynamic_cast<const ProfileSelectObject*>(node.object.get());
    if (column != 0 || profile == nullptr)
        return -1;
    return profileImageIndex(profile->categoryId(), getFormatID(profile->format().c_str()));
}

int ProfileCombobox::profileImageIndex(int c, int f)
{
    switch (c) {
    case 1: return f + 14;
    case 2:
    case 13: return f - 23;
    case 3: return f == 54 ? 48 : -1;
    case 4: return f == 54 ? 52 : -1;
    case 5: return f == 54 ? 43 : -1;
    case 6: return f == 54 ? 51 : -1;
    case 7: return f == 51 ? 44 : f == 57 ? 45 : f == 54 ? 46 : f == 60 ? 47 : -1;
    case 8: return f == 54 ? 53 : f == 51 ? 54 : f == 60 ? 55 : -1;
    case 9: return f == 54 ? 49 : f == 60 ? 50 : -1;
    case 10: return f == 60 ? 56 : f == 57 ? 57 : f == 52 || f == 53 ? 58 : f == 54 ? 59 : -1;
    case 11: return f == 60 ? 60 : f == 57 ? 61 : -1;
    case 12: return 62;
    case 14: return f == 66 ? 63 : f == 67 ? 64 : -1;
    case 15: return 65;
    default: return -1;
    }
}
