/* Language resources of the program: texts addressed by five-digit resource ids ("02001"), one
 * set per language code ("en_us", "zh_cn"). All calls come from the GUI thread. */
#ifndef VKO_I18N_DLL_H
#define VKO_I18N_DLL_H

#include <stdint.h>

#if defined(_WIN32)
#define VKO_I18N_API __declspec(dllexport)
#else
#define VKO_I18N_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Reads every "*.xml" language file of folder (with or without a trailing separator) and adds
 * its texts to those already loaded. A file that cannot be read is reported on stderr and
 * skipped. Returns the number of language files read, or -1 when folder is null or missing. */
VKO_I18N_API int32_t loadI18nResources(const char* folder);

/* Releases every loaded text; pointers handed out before become invalid. */
VKO_I18N_API void clearI18nResources(void);

/* Stores into *text the text of id in language, or a null pointer when the language or the id
 * is unknown. The text stays owned by the library until clearI18nResources. Returns 0 when a
 * text was found, 1 when not, -1 for null arguments. */
VKO_I18N_API int32_t getI18nRes(const char* language, const char* id, const char** text);

#ifdef __cplusplus
}
#endif

#endif
