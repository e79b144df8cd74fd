// The save command: a job's parameters written as a profile of the user's own. A built-in
// profile is saved as a named copy through the save dialog; a user profile is rewritten in place.
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>
#include <string>

#include "profile_saving.h"

class ProfileSelectObject;
class TfrmSave;
struct ProfileSettingInfo;

class ProfileSaver : public QObject {
    Q_OBJECT
public:
    // reloadCatalogue reads the profiles again and keeps the current one chosen.
    ProfileSaver(TfrmSave& dialog, std::string profileFolder, std::function<void()> reloadCatalogue);

    // Saves settings (a job's parameters) over the file of current, the profile chosen in the
    // picker. The save dialog, when a name is needed, is placed at dialogPlace.
    void save(const ProfileSettingInfo& settings, const ProfileSelectObject& current, QPoint dialogPlace);

signals:
    // A profile file was written at path and the catalogue reloaded.
    void saved(const QString& path);

private:
    void write();

    TfrmSave& dialog_;
    std::string profileFolder_;
    std::function<void()> reloadCatalogue_;
    std::unique_ptr<ProfileDraft> draft_;
};
