// The skin reader on arbitrary skin description files.
#include "fuzz_input_file.h"
#include "vkoAnalyzeImg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = fuzzsupport::writeInput("skin.xml", data, size);
    if (loadSkin(path.c_str()) != 0)
        return 0;
    char folder[64];
    getSkinImageFolder(folder, sizeof folder);
    const SkinInfo* info = getSkinInfo();
    if (!info || !info->englishName || !info->otherName)
        __builtin_trap();
    for (const char* section : {"style", "main", "frmMain", ""}) {
        int32_t handle = getSkinSection(section);
        for (const char* item : {"window", "frmMainFormCreate", "Start_img", ""})
            if (const SkinItem* found = getSkinItem(handle, item))
                if (!found->picture || !found->fontColor)
                    __builtin_trap();
    }
    return 0;
}
