// The records' byte layout on 32-bit builds: the header's own checks, and an independent one,
// compiled as C11 with -m32.
#include "media_fixture.h"

#include <gtest/gtest.h>

namespace {

const char* const kLayoutProgram = R"(#include "vkoProfileDll.h"
_Static_assert(sizeof(void*) == 4, "a 32-bit build");
_Static_assert(sizeof(ProfileXmlList) == 8, "list");
_Static_assert(sizeof(ProfileXmlInfo) == 1468, "profile");
_Static_assert(offsetof(ProfileXmlInfo, formatName) == 1148, "format");
_Static_assert(offsetof(ProfileXmlInfo, categoryNames) == 1420, "category names");
_Static_assert(offsetof(ProfileXmlInfo, paramCount) == 1464, "parameter count");
_Static_assert(sizeof(ProfileParam) == 1260, "parameter");
_Static_assert(offsetof(ProfileParam, valueType) == 648, "value type");
_Static_assert(offsetof(ProfileParam, options) == 732, "options");
_Static_assert(offsetof(ProfileParam, selectedIndex) == 740, "selected");
_Static_assert(offsetof(ProfileParam, optionLanguages) == 1256, "option languages");
_Static_assert(sizeof(ProfileParamOption) == 556, "option");
_Static_assert(offsetof(ProfileParamOption, value) == 40, "option value");
)";

// Compiles source, including the profile header, with the given compiler and flags.
int compile(const std::string& compiler, const std::string& flags, const std::string& source, std::string& output)
{
    return testsupport::runCommand(compiler + " -Wall -Wextra -Wpedantic -Werror -fsyntax-only -m32 " + flags + " -I" +
                                       testsupport::shellQuote(PROFILE_HEADER_DIR) + " " +
                                       testsupport::shellQuote(source),
                                   &output);
}

TEST(ProfileLayoutTest, RecordsHaveTheirFixedLayoutIn32BitC)
{
    testsupport::TempDir dir;
    std::string output;
    EXPECT_EQ(0, compile(C_COMPILER, "-std=c11", testsupport::writeFile(dir, "layout.c", kLayoutProgram), output))
        << output;
}

TEST(ProfileLayoutTest, HeaderChecksHoldIn32BitCxx)
{
    testsupport::TempDir dir;
    std::string output;
    EXPECT_EQ(0, compile(CXX_COMPILER, "-std=c++20",
                         testsupport::writeFile(dir, "layout.cpp", "#include \"vkoProfileDll.h\"\n"), output))
        << output;
}

} // namespace
