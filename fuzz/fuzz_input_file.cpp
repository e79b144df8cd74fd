#include "fuzz_input_file.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fuzzsupport {

namespace {

struct Scratch {
    std::string folder;
    Scratch()
    {
        std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/clipwright-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
    }
    ~Scratch()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

} // namespace

const std::string& scratchFolder()
{
    static Scratch scratch;
    return scratch.folder;
}

std::string writeInput(const std::string& name, const uint8_t* data, size_t size)
{
    std::string path = scratchFolder() + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    if (size && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);
    return path;
}

} // namespace fuzzsupport
