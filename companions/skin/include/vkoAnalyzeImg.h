/* Skin descriptions: window sizes, control places and picture names per window section, read
 * from a skin description file. All calls come from the GUI thread. */
#ifndef VKO_ANALYZE_IMG_H
#define VKO_ANALYZE_IMG_H

#include <stdint.h>

#if defined(_WIN32)
#define VKO_SKIN_API __declspec(dllexport)
#else
#define VKO_SKIN_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* One control of a window section. For the window's own item (section name + "FormCreate")
 * width and height are the window size and left and top the corner ellipse. Texts are never
 * null (empty when the description has none). Valid until the next loadSkin. */
typedef struct SkinItem {
    int32_t reserved;
    int32_t visible;
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
    const char* picture;
    const char* fontColor;
    int32_t fontSize;
} SkinItem;

/* A skin as offered to the user. Kept by the library until the process ends. */
typedef struct SkinInfo {
    const char* englishName;
    const char* otherName;
    const char* descriptionPath;
} SkinInfo;

/* Makes the skin described by path current. Returns 0 on success; on failure (reported on
 * stderr) no skin is current and -1 is returned. */
VKO_SKIN_API int32_t loadSkin(const char* path);

/* Handle of a section of the current skin, 0 when there is none of that name. Handles of an
 * earlier skin are no longer valid after loadSkin. */
VKO_SKIN_API int32_t getSkinSection(const char* name);

/* The item of that name in a section, or null when the handle or the name is unknown. */
VKO_SKIN_API const SkinItem* getSkinItem(int32_t section, const char* name);

/* Copies the current skin's bitmap folder (NUL-terminated, cut to size) into buffer and returns
 * its full length, or -1 when no skin is current or the arguments are unusable. */
VKO_SKIN_API int32_t getSkinImageFolder(char* buffer, int32_t size);

/* Description of the current skin, or null when no skin is current. */
VKO_SKIN_API const SkinInfo* getSkinInfo(void);

#ifdef __cplusplus
}
#endif

#endif
