// The job's deinterlace switch: on (the default) an interlaced source comes out progressive; off,
// its woven fields come out as they are.
#include "dispatch.h"
#include "engine_job.h"
#include "job_context.h"
#include "transcode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The ffmpeg tool's interlace detector over the whole file: pictures seen as interlaced (either
// field order) and as progressive, in its multi-frame counts.
std::pair<long long, long long> interlacedAndProgressive(const std::string& path)
{
    std::string output;
    testsupport::runCommand("ffmpeg -nostdin -hide_banner -i " + testsupport::shellQuote(path) +
                                " -vf idet -an -f null - 2>&1",
                            &output);
    size_t line = output.find("Multi frame detection:");
    EXPECT_NE(line, std::string::npos) << output;
    auto countAfter = [&](const std::string& label) {
        size_t at = output.find(label, line);
        return at == std::string::npos ? 0LL : std::stoll(output.substr(at + label.size()));
    };
    return {countAfter("TFF:") + countAfter("BFF:"), countAfter("Progressive:")};
}

int transcodeKeepingFields(engine::Conversion& conversion, engine::JobContext& job)
{
    job.deinterlace = 0;
    return engine::transcodeJob(conversion, job);
}

TEST(DeinterlaceSwitch, OffKeepsTheFieldsOnDeinterlaces)
{
    testsupport::TempDir dir;
    std::string source = testsupport::runFfmpeg(
        dir, "-f lavfi -i testsrc2=s=320x240:r=50:d=2,interlace=scan=tff -c:v mpeg2video -b:v 4M -flags +ilme+ildct "
             "-top 1",
        "interlaced.mpg");
    const struct {
        const char* name;
        engine::TranscodeStage stage;
        bool progressive;
    } cases[] = {{"on.mp4", engine::transcodeJob, true}, {"off.mp4", transcodeKeepingFields, false}};
    engine::Conversion conversion;
    for (const auto& c : cases) {
        std::string output = dir.path(c.name);
        testsupport::Job job("mp4", 0, output);
        job.group().frameSize = "320x240";
        job.addInput(source);
        ASSERT_EQ(engine::dispatchConversion(conversion, &job.group(), "mp4", 0, c.stage), 0) << c.name;
        auto [interlaced, progressive] = interlacedAndProgressive(output);
        EXPECT_TRUE(c.progressive ? progressive > 3 * interlaced : interlaced > 3 * progressive)
            << c.name << ": " << interlaced << " interlaced, " << progressive << " progressive";
    }
}

} // namespace
