// The file probe on arbitrary bytes. The first byte picks the file's extension, so the
// extension-led format guesses are tried as well as content probing.
#include "fuzz_input_file.h"
#include "vkoConverterDll.h"

#include <cstring>

extern "C" {
#include <libavutil/log.h>
}

namespace {

constexpr const char* kExtensions[] = {"",     ".mp3", ".mp4", ".avi", ".wav", ".flv", ".mkv", ".ogg",
                                       ".mpg", ".ts",  ".3gp", ".wmv", ".rm",  ".aac", ".ac3", ".amr"};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    av_log_set_level(AV_LOG_QUIET);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const char* extension = kExtensions[data[0] % (sizeof kExtensions / sizeof *kExtensions)];
    std::string path = fuzzsupport::writeInput(std::string("input") + extension, data + 1, size - 1);

    MediaFileInfo info{};
    std::strncpy(info.path, path.c_str(), sizeof info.path - 1);
    int described = getFileInfo(&info);
    int supported = isSupportFormat(path.c_str());
    // A file the probe calls supported has sound or pictures it can describe.
    if (described == 0 && supported == 0) {
        bool sound = info.audioCodecName[0] && info.audioChannels > 0 && info.audioSampleRate > 0;
        bool pictures = info.videoCodecName[0] && info.width > 0 && info.height > 0;
        if (!sound && !pictures)
            __builtin_trap();
    }
    return 0;
}
