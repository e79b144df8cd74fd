/* Loads the engine library as the program's loader would and looks up every export by its plain
 * name. */
#include <dlfcn.h>
#include <stdio.h>

int main(int argc, char** argv)
{
    static const char* const names[] = {
        "getFormatID", "getFormatType", "setProgressHandle", "setUsingPreview", "createGroupMediaUIOption",
        "createMediaUIOption", "freeGroupMediaUIOption", "converteToMedia", "getFileInfo", "isSupportFormat",
        "cloneConverte2MediaUIOption", "cloneConverteGroup2MediaUIOption"};
    if (argc != 2) {
        fprintf(stderr, "usage: %s library\n", argv[0]);
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    int missing = 0;
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
        if (!dlsym(library, names[i])) {
            fprintf(stderr, "missing export %s\n", names[i]);
            ++missing;
        }
    }
    int (*formatId)(const char*) = (int (*)(const char*))dlsym(library, "getFormatID");
    if (formatId && formatId("avi") != 57) {
        fprintf(stderr, "getFormatID(\"avi\") is not 57\n");
        ++missing;
    }
    /* The library stays loaded until exit, so what its dependencies keep for the process stays
     * reachable for leak checkers. */
    return missing ? 1 : 0;
}
