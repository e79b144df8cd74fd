// The settings record keeps its byte layout on 32-bit builds: the header's layout checks must hold
// when a C compiler builds it for a 32-bit target, and the header must stay plain C.
#include "media_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int compileHeaderAsC(const std::string& extraFlags, std::string* output)
{
    return testsupport::runCommand("gcc " + extraFlags + " -std=c11 -Wall -Wextra -Werror -fsyntax-only -x c " +
                                       testsupport::shellQuote(RM_ENCODER_HEADER),
                                   output);
}

TEST(RealMediaSettingsLayout, HeaderCompilesWith32BitLayoutChecks)
{
    std::string output;
    EXPECT_EQ(compileHeaderAsC("-m32", &output), 0) << output;
}

TEST(RealMediaSettingsLayout, HeaderCompilesAsC64Bit)
{
    std::string output;
    EXPECT_EQ(compileHeaderAsC("-m64", &output), 0) << output;
}

TEST(RealMediaSettingsLayout, ChecksNoticeAWiderField)
{
    std::string output;
    EXPECT_NE(compileHeaderAsC("-m32 -Dfloat=double", &output), 0);
    EXPECT_NE(output.find("sizeof(RealMediaSettings) == 60"), std::string::npos) << output;
}

} // namespace
