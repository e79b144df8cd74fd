// The ThreadSanitizer build's library filter leaves our own races reported: a probe whose two
// threads race on our data, directly and through a library, fails with the checker's report.
#include <gtest/gtest.h>

#include <string>

#include "media_fixture.h"

namespace {

struct ProbeCase {
    const char* mode;
    const char* namedFrame;  // the function the report names where the access was made
};

class LibraryRacesTest : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(LibraryRacesTest, OurRaceIsReported)
{
    std::string output;
    // Reports go to the probe's own output only (read here, never printed: a report in a test's
    // output fails the test) and stop nothing.
    const int status = testsupport::runCommand(
        std::string("TSAN_OPTIONS=halt_on_error=0:exitcode=66 ") + RACE_PROBE + " " + GetParam().mode, &output);
    EXPECT_EQ(status, 66);
    EXPECT_NE(output.find("ThreadSanitizer: data race"), std::string::npos);
    EXPECT_NE(output.find(GetParam().namedFrame), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Probes, LibraryRacesTest,
                         ::testing::Values(ProbeCase{"plain", "raceOnCounter"},
                                           ProbeCase{"library", "QByteArray::fill"}),
                         [](const auto& probe) { return std::string(probe.param.mode); });

} // namespace
