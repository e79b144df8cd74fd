// The properties window shows a row's source in the formats of its eight fields and lists its streams.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <cstring>

#include "dialog_fixture.h"
#include "i18n_binding.h"
#include "engine_job.h"
#include "media_fixture.h"

namespace {

struct PropertiesCase {
    int width, height;
    float frameRate;
    int videoBitrate, sampleRate, channels, audioBitrate;
    const char* resolution;
    const char* frame;
    const char* video;
    const char* sample;
    const char* channel;
    const char* audio;
};

TEST(PropertiesWindow, FieldsShowTheSourceInTheirFormats)
{
    dialogtest::Windows windows;
    const PropertiesCase cases[] = {
        {720, 576, 25.0F, 4999999, 48000, 2, 192000, "720x576", "25.00 fps", "4999 kbps", "48000 Hz", "2 Channel",
         "192 kbps"},
        {640, 480, 29.97F, 1500000, 44100, 2, 1411200, "640x480", "29.97 fps", "1500 kbps", "44100 Hz", "2 Channel",
         "1411 kbps"},
        {0, 0, 0.0F, 0, 8000, 1, 999, "0x0", "0.00 fps", "0 kbps", "8000 Hz", "1 Channel", "0 kbps"},
    };
    for (const PropertiesCase& c : cases) {
        NodeData row;
        std::strcpy(row.settings.outputName, "holiday clip");
        std::strcpy(row.display.originalLength, "00:01:05");
        row.fileInfo.width = c.width;
        row.fileInfo.height = c.height;
        row.fileInfo.videoFrameRate = c.frameRate;
        row.fileInfo.videoBitrate = c.videoBitrate;
        row.fileInfo.audioSampleRate = c.sampleRate;
        row.fileInfo.audioChannels = c.channels;
        row.fileInfo.audioBitrate = c.audioBitrate;
        TfrmPro& window = windows->properties;
        window.showProperties(row);
        ASSERT_TRUE(window.isVisible());
        EXPECT_TRUE(window.isModal());
        EXPECT_EQ(window.field(TfrmPro::Name)->text(), QStringLiteral("holiday clip"));
        EXPECT_EQ(window.field(TfrmPro::Length)->text(), QStringLiteral("00:01:05"));
        EXPECT_EQ(window.field(TfrmPro::Resolution)->text(), QString::fromLatin1(c.resolution));
        EXPECT_EQ(window.field(TfrmPro::FrameRate)->text(), QString::fromLatin1(c.frame));
        EXPECT_EQ(window.field(TfrmPro::VideoBitrate)->text(), QString::fromLatin1(c.video));
        EXPECT_EQ(window.field(TfrmPro::SampleRate)->text(), QString::fromLatin1(c.sample));
        EXPECT_EQ(window.field(TfrmPro::Channels)->text(), QString::fromLatin1(c.channel));
        EXPECT_EQ(window.field(TfrmPro::AudioBitrate)->text(), QString::fromLatin1(c.audio));
        EXPECT_TRUE(window.field(TfrmPro::Name)->isReadOnly());
        QSignalSpy closed(&window, &TfrmPro::closed);
        window.close();
        EXPECT_EQ(closed.count(), 1);
    }
}

TEST(PropertiesWindow, AStereoPcmSourceProbedByTheEngineShows1411Kbps)
{
    dialogtest::Windows windows;
    const std::string wav = testsupport::fixture(
        {.name = "pcm.wav", .seconds = 1.0, .video = false, .audioCodec = "pcm_s16le"});
    NodeData row;
    std::strcpy(row.fileInfo.path, wav.c_str());
    ASSERT_EQ(getFileInfo(&row.fileInfo), 0);
    windows->properties.showProperties(row);
    EXPECT_EQ(windows->properties.field(TfrmPro::AudioBitrate)->text(), QStringLiteral("1411 kbps"));
    EXPECT_EQ(windows->properties.field(TfrmPro::SampleRate)->text(), QStringLiteral("44100 Hz"));
    EXPECT_EQ(windows->properties.field(TfrmPro::Channels)->text(), QStringLiteral("2 Channel"));
}

TEST(PropertiesWindow, ListsEverySoundSubtitleAndAttachmentStream)
{
    dialogtest::Windows windows;
    const testsupport::TempDir dir;
    NodeData row;
    const std::string source = testsupport::makeMultiTrackClip(dir);
    std::strcpy(row.fileInfo.path, source.c_str());
    ASSERT_EQ(getFileInfo(&row.fileInfo), 0);
    row.streams = sourceStreams(source);
    windows->properties.showProperties(row);
    QStringList lines;
    for (int i = 0; i < windows->properties.streamList()->count(); ++i)
        lines << windows->properties.streamList()->item(i)->text();
    EXPECT_EQ(lines, (QStringList{"Audio 1: eng, English (aac, 44100 Hz, 1 channels, default)",
                                  "Audio 2: deu, Deutsch (aac, 44100 Hz, 1 channels)",
                                  "Subtitle 1: fre, Francais (srt)", "Subtitle 2: eng (ssa)"}));

    // The words beside the numbers follow the window's language.
    setI18nLanguage(QStringLiteral("zh_cn"));
    windows->properties.showProperties(row);
    const QString first = windows->properties.streamList()->item(0)->text();
    setI18nLanguage(QStringLiteral("en_us"));
    EXPECT_EQ(first, QStringLiteral("音轨 1: eng, English (aac, 44100 Hz, 1 声道, 默认)"));

    // Another row replaces the list.
    NodeData plain;
    windows->properties.showProperties(plain);
    EXPECT_EQ(windows->properties.streamList()->count(), 0);
}

} // namespace
