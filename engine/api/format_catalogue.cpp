#include "format_catalogue.h"

#include "vkoConverterDll.h"

#include <cstring>

namespace engine {

namespace {

struct CatalogueEntry {
    const char* name;
    int id;
};

constexpr CatalogueEntry kCatalogue[] = {
    {"mp3", kFormatMp3},     {"aac", kFormatAac},     {"wav", kFormatWav},     {"m4a", kFormatM4a},
    {"ac3", kFormatAc3},     {"amr", kFormatAmr},     {"mp2", kFormatMp2},     {"wma", kFormatWma},
    {"flac", kFormatFlac},   {"aiff", kFormatAiff},   {"ogg", kFormatOgg},     {"mka", kFormatMka},
    {"ra", kFormatRa},       {"3gp", kFormat3gp},     {"3g2", kFormat3gp},     {"mpeg1", kFormatMpeg1},
    {"vob", kFormatVob},     {"mp4", kFormatMp4},     {"flv", kFormatFlv},     {"swf", kFormatSwf},
    {"avi", kFormatAvi},     {"divx", kFormatDivx},   {"mov", kFormatMov},     {"wmv", kFormatWmv},
    {"mkv", kFormatMkv},     {"dv", kFormatDv},       {"rm", kFormatRm},       {"rmvb", kFormatRmvb},
    {"m4v", kFormatM4v},     {"amv", kFormatAmv},     {"mtv", kFormatMtv},     {"smv", kFormatSmv},
    {"image2", kFormatImage2},
};

} // namespace

int formatIdOf(const char* name)
{
    if (!name)
        return kFormatNone;
    for (const CatalogueEntry& entry : kCatalogue)
        if (std::strcmp(entry.name, name) == 0)
            return entry.id;
    return kFormatNone;
}

int formatTypeOf(int formatId)
{
    if (formatId >= kFormatMp3 && formatId <= kFormatRa)
        return VKO_FORMAT_AUDIO;
    if (formatId >= kFormat3gp && formatId <= kFormatSmv)
        return VKO_FORMAT_VIDEO;
    if (formatId == kFormatImage2)
        return VKO_FORMAT_IMAGE;
    return VKO_FORMAT_UNKNOWN;
}

} // namespace engine

extern "C" int getFormatID(const char* name)
{
    return engine::formatIdOf(name);
}

extern "C" int getFormatType(const char* name)
{
    return engine::formatTypeOf(engine::formatIdOf(name));
}
