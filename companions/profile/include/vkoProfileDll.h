/* Profile store: reads and writes output profiles, one XML file per profile.
 *
 * Records filled by the store, and every text and array they point to, are owned by the store and
 * stay valid until the process ends; callers never free them. The byte layout of every record is
 * fixed (see the layout checks at the end); pointer fields are 4 bytes on 32-bit builds. */
#ifndef VKO_PROFILE_DLL_H
#define VKO_PROFILE_DLL_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define VKO_PROFILE_API __declspec(dllexport)
#else
#define VKO_PROFILE_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum {
    VKO_PROFILE_MAX_LANGUAGES = 10,
    VKO_PROFILE_FILE_NAME_SIZE = 512,
    VKO_PROFILE_NAME_SIZE = 512,
    VKO_PROFILE_FORMAT_SIZE = 128,
    VKO_PROFILE_PARAM_NAME_SIZE = 648,
    VKO_PROFILE_OPTION_VALUE_SIZE = 516
};

/* Value types of a parameter's options. A real parameter's option may also be the word "source"
 * (VKO_PARAM_SOURCE): the source's own value, as a frame rate "Same as source". */
enum { VKO_PARAM_INTEGER = 1, VKO_PARAM_TEXT = 2, VKO_PARAM_REAL = 3 };
#define VKO_PARAM_SOURCE "source"

/* Media types of a profile. */
enum { VKO_PROFILE_VIDEO = 0, VKO_PROFILE_AUDIO = 1 };

/* Error numbers returned by the three functions; 0 is success. */
enum {
    VKO_PROFILE_OK = 0,
    VKO_PROFILE_ERROR_ARGUMENT = 1,    /* a null path or record */
    VKO_PROFILE_ERROR_READ = 2,        /* the file cannot be read or is not a valid profile */
    VKO_PROFILE_ERROR_INVALID = 3,     /* the record to save breaks a rule of the profile format */
    VKO_PROFILE_ERROR_WRITE = 4,       /* the temporary file cannot be created or written */
    VKO_PROFILE_ERROR_REPLACE = 5      /* the written file cannot take the target's place */
};

struct ProfileParam;

/* One profile file. Only the first languageCount entries of each pointer array are used. */
typedef struct ProfileXmlInfo {
    char fileName[VKO_PROFILE_FILE_NAME_SIZE];  /* relative to the system profile folder */
    char profileName[VKO_PROFILE_NAME_SIZE];    /* the key profiles are found and remembered by */
    int32_t languageCount;                      /* 1 to 10 in records the store fills */
    char* languages[VKO_PROFILE_MAX_LANGUAGES]; /* language codes, "en_us", "zh_cn" */
    char* names[VKO_PROFILE_MAX_LANGUAGES];
    char* descriptions[VKO_PROFILE_MAX_LANGUAGES];
    char formatName[VKO_PROFILE_FORMAT_SIZE]; /* the engine's output format name */
    char extension[VKO_PROFILE_FORMAT_SIZE];  /* without the dot */
    int32_t builtIn;                          /* non-zero: saved under a new name */
    int32_t mediaType;                        /* VKO_PROFILE_VIDEO or VKO_PROFILE_AUDIO */
    int32_t deviceType;                       /* device class handed to the engine */
    int32_t categoryId;
    char* categoryNames[VKO_PROFILE_MAX_LANGUAGES];
    struct ProfileParam* params;
    int32_t paramCount;
} ProfileXmlInfo;

/* One choice of a parameter. */
typedef struct ProfileParamOption {
    char* names[VKO_PROFILE_MAX_LANGUAGES]; /* displayed text per language of the parameter */
    char value[VKO_PROFILE_OPTION_VALUE_SIZE];
} ProfileParamOption;

/* One encoder parameter ("s", "r", "vcodec", "b", "ar", "ac", "acodec", "ab", ...) with its
 * choices; selectedIndex is the profile's value. */
typedef struct ProfileParam {
    char name[VKO_PROFILE_PARAM_NAME_SIZE];
    int32_t valueType; /* VKO_PARAM_INTEGER, VKO_PARAM_TEXT or VKO_PARAM_REAL */
    char reserved652[80];
    ProfileParamOption* options;
    int32_t optionCount;
    int32_t selectedIndex;
    char reserved744[512];
    /* Names the languages of the option names: only languageCount and languages are set. */
    ProfileXmlInfo* optionLanguages;
} ProfileParam;

typedef struct ProfileXmlList {
    ProfileXmlInfo* items;
    int32_t count;
} ProfileXmlList;

/* Fills list with one record per readable profile file ("*.xml") of folder, in file-name order.
 * A missing or empty folder gives count 0. Files that are not valid profiles are skipped with a
 * line on the standard error stream. In a folder named "user" the file names of the records
 * start with "user/", so that they are relative to the system profile folder above it. */
VKO_PROFILE_API int32_t praseXMLFolder(const char* folder, ProfileXmlList* list);

/* Fills info from one profile file; its file name is the file's own name. On failure info is
 * left untouched and an error number is returned. */
VKO_PROFILE_API int32_t praseXmlFile(const char* path, ProfileXmlInfo* info);

/* Writes info as a profile file at path: into a temporary file beside it, then renamed over the
 * target, so that a failed save leaves an existing file as it was. Returns 0 or an error number.
 * A non-zero built-in flag is stored as 1. */
VKO_PROFILE_API int32_t saveXmlFile(const char* path, const ProfileXmlInfo* info);

#ifdef __cplusplus
}
#endif

/* Layout checks: every record holds pointers, so the offsets are those of 32-bit builds (tests
 * compile this header with -m32). */
#ifdef __cplusplus
#define VKO_PROFILE_LAYOUT_CHECK(condition) static_assert(condition, #condition)
#else
#define VKO_PROFILE_LAYOUT_CHECK(condition) _Static_assert(condition, #condition)
#endif

#if UINTPTR_MAX == 0xFFFFFFFFu
VKO_PROFILE_LAYOUT_CHECK(sizeof(ProfileXmlInfo) == 1468);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, fileName) == 0);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, profileName) == 512);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, languageCount) == 1024);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, languages) == 1028);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, names) == 1068);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, descriptions) == 1108);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, formatName) == 1148);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, extension) == 1276);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, builtIn) == 1404);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, mediaType) == 1408);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, deviceType) == 1412);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, categoryId) == 1416);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, categoryNames) == 1420);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, params) == 1460);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlInfo, paramCount) == 1464);

VKO_PROFILE_LAYOUT_CHECK(sizeof(ProfileParam) == 1260);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileParam, name) == 0);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileParam, valueType) == 648);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileParam, reserved652) == 652);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileParam, options) == 732);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileParam, optionCount) == 736);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileParam, selectedIndex) == 740);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileParam, reserved744) == 744);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileParam, optionLanguages) == 1256);

VKO_PROFILE_LAYOUT_CHECK(sizeof(ProfileParamOption) == 556);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileParamOption, names) == 0);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileParamOption, value) == 40);

VKO_PROFILE_LAYOUT_CHECK(sizeof(ProfileXmlList) == 8);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlList, items) == 0);
VKO_PROFILE_LAYOUT_CHECK(offsetof(ProfileXmlList, count) == 4);
#endif

#undef VKO_PROFILE_LAYOUT_CHECK

#endif
