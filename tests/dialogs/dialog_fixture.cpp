#include "dialog_fixture.h"

#include <gtest/gtest.h>

#include <deque>

#include "i18n_binding.h"
#include "profile_catalogue.h"

namespace dialogtest {

const ProfileXmlInfo& readProfile(const std::string& path)
{
    // Kept for the process, as the store keeps its texts; reachable from here until it ends.
    static auto* const records = new std::deque<ProfileXmlInfo>();
    ProfileXmlInfo& record = records->emplace_back();
    EXPECT_EQ(praseXmlFile(path.c_str(), &record), 0) << path;
    return record;
}

const ProfileXmlInfo& builtInProfile(const std::string& fileName)
{
    return readProfile(std::string(BUILTIN_PROFILE_DIR) + "/" + fileName);
}

std::string writeTestProfileFile(const testsupport::TempDir& dir)
{
    const char* text = R"(<?xml version="1.0" encoding="UTF-8"?>
<profile name="Test AVI" format="avi" extension="avi" media="video" device="0" category="2" builtin="true">
  <language code="en_us"><name>Test AVI</name><description>d</description><category>c</category></language>
  <param name="s" type="text"><option value="320x240"/><option value="640x480" selected="true"/></param>
  <param name="r" type="real"><option value="25" selected="true"/><option value="29.97"/></param>
  <param name="vcodec" type="text"><option value="libxvid" selected="true"/><option value="mpeg4"/></param>
  <param name="b" type="integer"><option value="800000"/><option value="1500000" selected="true"/></param>
  <param name="ar" type="integer"><option value="44100" selected="true"/><option value="48000"/></param>
  <param name="ac" type="integer"><option value="1"/><option value="2" selected="true"/></param>
  <param name="acodec" type="text">
    <option value="libmp3lame" selected="true" label="MP3"/><option value="libopencore_amrnb" label="AMR-NB"/>
  </param>
  <param name="ab" type="integer">
    <option value="128000" selected="true" label="128 kbps"/><option value="192000" label="192 kbps"/>
  </param>
</profile>
)";
    return testsupport::writeFile(dir, "test_avi.xml", text);
}

const ProfileXmlInfo& writeTestProfile(const testsupport::TempDir& dir)
{
    return readProfile(writeTestProfileFile(dir));
}

JobRow::JobRow(const ProfileSelectObject& profile, int width, int height)
{
    data.fileInfo.width = width;
    data.fileInfo.height = height;
    data.settings.owner = &data;
    auto copy = std::make_unique<ProfileSettingInfo>(profileSettingInfoOf(profile));
    data.settings.profile = copy.get();
    data.settings.profileCopies[profile.getString()] = std::move(copy);
}

Windows::Windows() : windows_(std::make_unique<ApplicationWindows>(settings_.store()))
{
    setI18nLanguage(QStringLiteral("en_us"));
    applyI18nAll();
}

Windows::~Windows() = default;

} // namespace dialogtest
