// The profile picker: the two-level drop-down over the profile catalogue (categories, then their
// profiles) with the profile icons; a chosen profile goes to the selected job row, or to every
// row while "Apply to all" is ticked.
#pragma once

#include <memory>
#include <string>

#include "multi_level_combobox.h"

class JobList;
class QCheckBox;

class ProfileCombobox : public VKOMultiLevelCombobox {
    Q_OBJECT
public:
    ProfileCombobox(JobList& jobs, QCheckBox* applyToAll, ImageButton* button, QFrame* panel,
                    QTreeWidget* categories, QTreeWidget* profiles, QObject* hook, std::string profileFolder);

    // Re-reads both profile folders; the current profile stays.
    void reload() override;
    void onItemChosen() override;
    int onGetImageIndex(int level, const VKOComboboxInfo& node, int column) const override;

    const ProfileSelectObject* currentProfile() const;
    const ProfileCatalogue& catalogue() const { return catalogue_; }

    // The picture of a category in profilePickerIcons (-1 for an unknown category).
    static int pictureOfCategory(int category);

signals:
    // Job rows took the chosen profile.
    void rowsChanged();

private:
    JobList& jobs_;
    QCheckBox* applyToAll_;
    ProfileCatalogue catalogue_;
};

// The icons of the picker's lists, drawn here: index 0 is the arrow of the category list.
std::vector<QIcon> profilePickerIcons(int side);
