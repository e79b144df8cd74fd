// The file probe beside a running conversion: both give the results they give alone.
#include "engine_job.h"
#include "ffprobe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

struct ProbeOutcome {
    int code;
    std::string description;
};

ProbeOutcome probeFile(const std::string& path)
{
    MediaFileInfo info{};
    std::strncpy(info.path, path.c_str(), sizeof info.path - 1);
    int code = getFileInfo(&info);
    std::string description = std::to_string(isSupportFormat(path.c_str())) + " " + info.videoCodecName + " " +
                              info.audioCodecName + " " + std::to_string(info.width) + "x" +
                              std::to_string(info.height) + " " + std::to_string(info.audioChannels) + " " +
                              std::to_string(info.audioSampleRate) + " " + std::to_string(info.durationSeconds);
    return {code, description};
}

TEST(ConcurrentProbe, ProbesDuringAConversionAreRightAndLeaveItAlone)
{
    const std::string source = testsupport::fixture({.name = "converted.mp4", .seconds = 6});
    const std::vector<std::string> probed = {
        testsupport::fixture({.name = "probed.avi", .seconds = 1, .width = 176, .height = 144}),
        testsupport::fixture({.name = "probed.mp3", .seconds = 1, .video = false, .channels = 1}),
        testsupport::writeFile(testsupport::fixtureFolder(), "probed-noise.mp3", std::string(4096, '\x55')),
        testsupport::fixtureFolder().path("probed-missing.mp4"),
    };
    std::vector<ProbeOutcome> alone;
    for (const std::string& path : probed)
        alone.push_back(probeFile(path));
    ASSERT_EQ(alone[0].code, 0);
    ASSERT_EQ(alone[1].code, 0);
    ASSERT_NE(alone[2].code, 0);

    const std::string output = testsupport::fixtureFolder().path("converted-beside-probes.mp4");
    std::atomic<bool> converting{true};
    int result = -1;
    std::thread conversion([&] {
        testsupport::Job job("mp4", 0, output);
        job.group().frameSize = "160x120";
        job.addInput(source);
        result = job.run();
        converting = false;
    });
    int rounds = 0;
    while (converting || rounds == 0) {
        for (size_t i = 0; i < probed.size(); ++i) {
            ProbeOutcome outcome = probeFile(probed[i]);
            EXPECT_EQ(outcome.code, alone[i].code) << probed[i];
            EXPECT_EQ(outcome.description, alone[i].description) << probed[i];
        }
        ++rounds;
    }
    conversion.join();

    EXPECT_EQ(result, 0);
    EXPECT_GT(rounds, 1) << "the probes ran while the conversion did";
    testsupport::ProbeResult probe = testsupport::probeMedia(output);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_NEAR(probe.duration(), 6.0, 0.3);
    EXPECT_EQ(testsupport::decodeErrors(output), "");
}

} // namespace
