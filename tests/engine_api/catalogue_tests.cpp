#include "vkoConverterDll.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatCatalogue, IdsAndTypes)
{
    struct {
        const char* name;
        int id;
        int type;
    } cases[] = {
        {"mp3", 1, 1},     {"aac", 2, 1},    {"wav", 3, 1},    {"m4a", 4, 1},     {"ac3", 5, 1},   {"amr", 6, 1},
        {"mp2", 7, 1},     {"wma", 8, 1},    {"flac", 9, 1},   {"aiff", 10, 1},   {"ogg", 11, 1},  {"mka", 12, 1},
        {"ra", 13, 1},     {"3gp", 51, 0},   {"3g2", 51, 0},   {"mpeg1", 52, 0},  {"vob", 53, 0},  {"mp4", 54, 0},
        {"flv", 55, 0},    {"swf", 56, 0},   {"avi", 57, 0},   {"divx", 58, 0},   {"mov", 59, 0},  {"wmv", 60, 0},
        {"mkv", 61, 0},    {"dv", 62, 0},    {"rm", 63, 0},    {"rmvb", 64, 0},   {"m4v", 65, 0},  {"amv", 66, 0},
        {"mtv", 67, 0},    {"smv", 68, 0},   {"image2", 101, 2},
        {"MP4", 0, -1},    {"mp4 ", 0, -1},  {" mp4", 0, -1},  {"", 0, -1},       {"mpeg", 0, -1}, {"asf", 0, -1},
        {nullptr, 0, -1},
    };
    for (const auto& entry : cases) {
        const char* shown = entry.name ? entry.name : "(null)";
        EXPECT_EQ(getFormatID(entry.name), entry.id) << shown;
        EXPECT_EQ(getFormatType(entry.name), entry.type) << shown;
    }
}

TEST(FormatCatalogue, ImageFormatHasNoPreset)
{
    GroupMediaUIOption* group = createGroupMediaUIOption(&group, "image2", 0);
    EXPECT_EQ(converteToMedia(group, "image2", 0), 51);
    freeGroupMediaUIOption(&group);
}

} // namespace
