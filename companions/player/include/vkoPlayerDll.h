/* Playback and preview library. For now: the engine's preview pictures during a conversion,
 * kept for the player host to show. */
#ifndef VKO_PLAYER_DLL_H
#define VKO_PLAYER_DLL_H

#include <stdint.h>

#if defined(_WIN32)
#define VKO_PLAYER_API __declspec(dllexport)
#else
#define VKO_PLAYER_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

struct AVFrame;
struct AVCodecContext;

/* Keeps a copy of picture, converted to 32-bit RGB, as the latest preview picture. codecContext
 * gives its width, height and pixel format (the picture's own are used when it is null). Called
 * by the engine on the converting thread; returns at once, and ignores pictures it cannot use. */
VKO_PLAYER_API void preview(const struct AVFrame* picture, const struct AVCodecContext* codecContext);

/* Copies the latest preview picture into pixels: native 0xAARRGGBB words, rows top to bottom
 * without gaps, width x height x 4 bytes. Safe to call from any thread.
 * Returns the picture's sequence number (1 for the first picture, growing with every new one),
 * 0 when there is no picture yet (width and height 0), or -1 when pixels is null or capacity is
 * smaller than the picture (width and height tell the size needed; nothing is copied). */
VKO_PLAYER_API int32_t getPreviewPicture(uint8_t* pixels, int32_t capacity, int32_t* width, int32_t* height);

#ifdef __cplusplus
}
#endif

#endif
