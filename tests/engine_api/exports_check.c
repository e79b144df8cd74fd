/* Loads the engine library as the program's loader would and looks up every export named after it
 * by its plain name. */
#include <dlfcn.h>
#include <stdio.h>

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s library name...\n", argv[0]);
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    int missing = 0;
    for (int i = 2; i < argc; ++i) {
        if (!dlsym(library, argv[i])) {
            fprintf(stderr, "missing export %s\n", argv[i]);
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
