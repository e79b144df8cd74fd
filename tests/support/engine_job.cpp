#include "engine_job.h"

#include <cstdio>
#include <map>

namespace testsupport {

const TempDir& fixtureFolder()
{
    static const TempDir folder;
    return folder;
}

const std::string& fixture(const ClipSpec& spec)
{
    static std::map<std::string, std::string> made;
    auto found = made.find(spec.name);
    if (found == made.end())
        found = made.emplace(spec.name, makeClip(fixtureFolder(), spec)).first;
    return found->second;
}

Job::Job(std::string format, int deviceClass, const std::string& outputPath)
    : format_(std::move(format)), deviceClass_(deviceClass)
{
    createGroupMediaUIOption(&group_, format_.c_str(), deviceClass_);
    std::snprintf(group_->outputPath, sizeof group_->outputPath, "%s", outputPath.c_str());
    group_->overwrite = 1; // the program always chooses a free name and sets this
}

Job::~Job()
{
    freeGroupMediaUIOption(&group_);
}

void setPictureEffects(MediaUIOption& input, const PictureEffects& effects)
{
    input.brightness = effects.brightness;
    input.contrast = effects.contrast;
    input.saturation = effects.saturation;
    input.verticalFlip = effects.verticalFlip;
    input.horizontalFlip = effects.horizontalFlip;
    input.pictureEffect = effects.pictureEffect;
}

MediaUIOption& Job::addInput(const std::string& sourcePath)
{
    return *createMediaUIOption(group_, sourcePath.c_str());
}

int Job::run()
{
    return converteToMedia(group_, format_.c_str(), deviceClass_);
}

} // namespace testsupport
