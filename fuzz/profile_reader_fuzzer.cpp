// The profile store's reader on arbitrary profile files. A profile it accepts is valid, and
// writing it out and reading that back gives the same profile.
#include "fuzz_input_file.h"
#include "profile_model.h"
#include "profile_xml.h"

#include <cstdio>

namespace {

bool sameProfile(const profilestore::Profile& a, const profilestore::Profile& b)
{
    return profilestore::profileToXml(a) == profilestore::profileToXml(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = fuzzsupport::writeInput("profile.xml", data, size);
    std::string error;
    auto profile = profilestore::readProfileFile(path, "profile.xml", error);
    if (!profile)
        return 0;
    if (!profilestore::profileError(*profile).empty())
        __builtin_trap();
    std::string text = profilestore::profileToXml(*profile);
    std::string copyPath =
        fuzzsupport::writeInput("copy.xml", reinterpret_cast<const uint8_t*>(text.data()), text.size());
    auto copy = profilestore::readProfileFile(copyPath, "profile.xml", error);
    if (!copy || !sameProfile(*profile, *copy)) {
        std::fprintf(stderr, "profile does not survive a round trip: %s\n", error.c_str());
        __builtin_trap();
    }
    return 0;
}
