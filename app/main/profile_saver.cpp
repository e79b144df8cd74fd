#include "profile_saver.h"

#include "choice_objects.h"
#include "message_box.h"
#include "profile_catalogue.h"
#include "save_dialog.h"

ProfileSaver::ProfileSaver(TfrmSave& dialog, std::string profileFolder, std::function<void()> reloadCatalogue)
    : dialog_(dialog), profileFolder_(std::move(profileFolder)), reloadCatalogue_(std::move(reloadCatalogue))
{
    connect(&dialog_, &TfrmSave::confirmed, this, &ProfileSaver::write);
}

void ProfileSaver::save(const ProfileSettingInfo& settings, const ProfileSelectObject& current, QPoint dialogPlace)
{
    draft_ = std::make_unique<ProfileDraft>();
    const std::string source = profileFilePath(profileFolder_, current.profile());
    // An unreadable file leaves nothing to save from; its error number is shown.
    const int32_t read = praseXmlFile(source.c_str(), &draft_->record);
    if (read != VKO_PROFILE_OK) {
        showPlainMessage(dialog_.parentWidget(), QString::number(read));
        draft_.reset();
        return;
    }
    selectOptionsOf(draft_->record, settings);
    if (draft_->record.builtIn == 0) {
        write();
        return;
    }
    dialog_.move(dialogPlace);
    dialog_.askName(*draft_, userProfileFolderPath(profileFolder_));
}

void ProfileSaver::write()
{
    if (!draft_ || !ensureUserProfileFolder(profileFolder_))
        return;
    const std::optional<std::string> target = userProfileTarget(profileFolder_, draft_->record);
    const int32_t result = target ? saveXmlFile(target->c_str(), &draft_->record) : VKO_PROFILE_ERROR_INVALID;
    if (result > 0) {
        showPlainMessage(nullptr, QString::number(result));
        return;
    }
    reloadCatalogue_();
    emit saved(QString::fromStdString(*target));
}
