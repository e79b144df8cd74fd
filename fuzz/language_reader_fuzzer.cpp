// The language resources' reader on arbitrary language files.
#include "fuzz_input_file.h"
#include "vkoI18nDll.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::writeInput("fuzzed.xml", data, size);
    loadI18nResources(fuzzsupport::scratchFolder().c_str());
    const char* text = nullptr;
    getI18nRes("en_us", "00001", &text);
    getI18nRes("", "", &text);
    clearI18nResources();
    return 0;
}
