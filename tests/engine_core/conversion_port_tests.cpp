// What core hands to the output sink and the progress port a conversion is given: every picture
// and sound of the job goes through the sink between its start and its finish, a failing start
// abandons the output, and the progress port's cancel and preview reach the transcode.
#include "dispatch.h"
#include "engine_job.h"
#include "engine_state.h"
#include "ffprobe.h"
#include "media_fixture.h"
#include "output_sink.h"
#include "progress_port.h"
#include "transcode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using engine::Conversion;
using engine::OutputSink;

// Passes everything on to the muxer and notes what it was asked, in order.
struct SinkLog {
    std::vector<std::string> calls;
    int pictures = 0; // frames handed over, duplicates included
    int soundBlocks = 0;
    int startResult = 0;
};
SinkLog sinkLog;

class RecordingSink final : public OutputSink {
public:
    bool muxes() const override { return true; }
    void noteSources(const engine::InputStream* audio, const engine::InputStream* video) override
    {
        sinkLog.calls.push_back(std::string("sources") + (audio ? " audio" : "") + (video ? " video" : ""));
    }
    int start(Conversion& conversion) override
    {
        sinkLog.calls.push_back("start");
        return sinkLog.startResult ? sinkLog.startResult : engine::muxerSink().start(conversion);
    }
    int writeAudio(Conversion& conversion, engine::OutputStream& output, const engine::InputStream& input,
                   const AVFrame& samples, int inputIndex) override
    {
        noteWrite();
        ++sinkLog.soundBlocks;
        return engine::muxerSink().writeAudio(conversion, output, input, samples, inputIndex);
    }
    int writePicture(Conversion& conversion, engine::OutputStream& output, const engine::InputStream& input,
                     const engine::PictureForOutput& picture, int inputIndex) override
    {
        noteWrite();
        sinkLog.pictures += picture.frames;
        return engine::muxerSink().writePicture(conversion, output, input, picture, inputIndex);
    }
    double reachedSeconds(double measured) const override { return measured; }
    int finish(Conversion& conversion, engine::OutputStreams& outputs) override
    {
        sinkLog.calls.push_back("finish");
        return engine::muxerSink().finish(conversion, outputs);
    }
    void abandon() override { sinkLog.calls.push_back("abandon"); }

private:
    static void noteWrite()
    {
        if (sinkLog.calls.back() != "write")
            sinkLog.calls.push_back("write");
    }
};

std::unique_ptr<OutputSink> recordingSink(const engine::JobContext&)
{
    return std::make_unique<RecordingSink>();
}

int convert(Conversion& conversion, const std::string& source, const std::string& output)
{
    testsupport::Job job("mp4", 0, output);
    job.group().frameSize = "160x120";
    job.addInput(source);
    return engine::dispatchConversion(conversion, &job.group(), "mp4", 0, engine::transcodeJob);
}

TEST(OutputSinkPort, EveryPictureAndSoundGoesThroughTheChosenSinkBetweenStartAndFinish)
{
    testsupport::TempDir dir;
    const std::string source = testsupport::makeClip(dir, {.seconds = 2.0});
    const std::string output = dir.path("out.mp4");
    sinkLog = {};
    Conversion conversion;
    conversion.chooseOutputSink = recordingSink;
    ASSERT_EQ(convert(conversion, source, output), 0);
    EXPECT_EQ(sinkLog.calls, (std::vector<std::string>{"sources audio video", "start", "write", "finish"}));
    EXPECT_GT(sinkLog.soundBlocks, 0);
    const testsupport::ProbeResult probe = testsupport::probeMedia(output);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_EQ(testsupport::countVideoFrames(output), sinkLog.pictures) << "the file holds what the sink was handed";
    EXPECT_NEAR(probe.duration(), 2.0, 0.1);
    EXPECT_EQ(probe.countStreams("audio"), 1);
}

TEST(OutputSinkPort, AFailingStartAbandonsTheOutputAndLeavesNoFile)
{
    testsupport::TempDir dir;
    const std::string source = testsupport::makeClip(dir, {.seconds = 1.0});
    const std::string output = dir.path("out.mp4");
    sinkLog = {.startResult = 72};
    Conversion conversion;
    conversion.chooseOutputSink = recordingSink;
    EXPECT_EQ(convert(conversion, source, output), 72);
    EXPECT_EQ(sinkLog.calls, (std::vector<std::string>{"sources audio video", "start", "abandon"}));
    for (const auto& entry : std::filesystem::directory_iterator(dir.root()))
        EXPECT_EQ(entry.path().filename(), "clip.mp4") << "left behind: " << entry.path();
}

// Cancels after a number of cancel queries and counts the preview pictures it is handed.
class ScriptedPort final : public engine::ProgressPort {
public:
    explicit ScriptedPort(int queriesBeforeCancel) : queriesLeft_(queriesBeforeCancel) {}
    bool cancelRequested() override { return queriesLeft_-- <= 0; }
    bool previewEnabled() override { return true; }
    void preview(const AVFrame& picture, const AVCodecContext& encoder) override
    {
        ++previews;
        EXPECT_EQ(picture.width, encoder.width);
    }
    int previews = 0;

private:
    int queriesLeft_;
};

TEST(ProgressPort, ACancelFromThePortStopsTheConversionAndKeyPicturesArePreviewed)
{
    testsupport::TempDir dir;
    const std::string source = testsupport::makeClip(dir, {.seconds = 4.0});
    const struct {
        const char* name;
        int queriesBeforeCancel;
    } cases[] = {{"whole.mp4", 1 << 30}, {"cut.mp4", 40}};
    long long wholeFrames = 0;
    for (const auto& c : cases) {
        ScriptedPort port(c.queriesBeforeCancel);
        Conversion conversion;
        conversion.progress = &port;
        const std::string output = dir.path(c.name);
        ASSERT_EQ(convert(conversion, source, output), 0) << c.name;
        const long long frames = testsupport::countVideoFrames(output);
        if (wholeFrames == 0) {
            wholeFrames = frames;
            EXPECT_NEAR(testsupport::probeMedia(output).duration(), 4.0, 0.1) << c.name;
        } else {
            EXPECT_TRUE(frames > 0 && frames < wholeFrames) << c.name << ": " << frames << " of " << wholeFrames;
        }
        EXPECT_GT(port.previews, 0) << c.name << ": key pictures are previewed";
    }
}

} // namespace
