/* Playback and preview library: plays a file into a frame sink with sound through SDL2, previews
 * crop, colour, effect and flip settings on the shown pictures, takes snapshots, and shows the
 * engine's pictures during a conversion.
 *
 * Every call comes from the GUI thread, except preview (the converting thread) and the startPlay
 * that a progress callback may make on the player's own thread. Callbacks and the frame sink run
 * on the player's threads and must only queue work for the GUI thread. */
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

/* Return codes. */
#define VKO_PLAYER_OK 0
#define VKO_PLAYER_ERROR_ARGUMENT 1      /* a null or empty path */
#define VKO_PLAYER_ERROR_OPEN 2          /* the file cannot be opened or read as media */
#define VKO_PLAYER_ERROR_NO_STREAM 3     /* no picture or sound stream that can be decoded */
#define VKO_PLAYER_ERROR_NOT_OPEN 4      /* no file is open */
#define VKO_PLAYER_ERROR_NO_PICTURE 5    /* nothing shown to capture; a picture file cannot be read */
#define VKO_PLAYER_ERROR_FORMAT 6        /* the snapshot extension is none of .jpg, .bmp, .png */
#define VKO_PLAYER_ERROR_ENCODE 7        /* the picture cannot be encoded */
#define VKO_PLAYER_ERROR_WRITE 8         /* the file cannot be written */

struct AVFrame;
struct AVCodecContext;

/* Position report, about every 200 ms while playing and once with state 1 at the end. */
typedef struct PlayProgress {
    int32_t totalHours;
    int32_t totalMinutes;
    int32_t totalSeconds;
    int32_t currentHours;
    int32_t currentMinutes;
    int32_t currentSeconds;
    int32_t reserved;
    int32_t state; /* 1 = end reached */
} PlayProgress;

typedef void (*PlayProgressCallback)(const PlayProgress* report);
/* Crop made by dragging a rectangle in the picture, in source pixels. */
typedef void (*PlayCropCallback)(int32_t top, int32_t bottom, int32_t left, int32_t right);
/* A picture to show: native 0xAARRGGBB words, rows top to bottom without gaps; valid only during
 * the call. width and height 0 mean "nothing plays: show the idle picture". */
typedef void (*PlayerFrameSink)(void* context, const uint8_t* pixels, int32_t width, int32_t height);

/* The slots hold the callbacks; the player reads the slot each time it reports. */
VKO_PLAYER_API void setPlayerHandle(PlayProgressCallback* slot);
VKO_PLAYER_API void setCropHandle(PlayCropCallback* slot);
/* Where pictures go (the program's player host). A null sink drops pictures. */
VKO_PLAYER_API void setFrameSink(PlayerFrameSink sink, void* context);

/* Sets up the output: the idle picture and the letterbox background (BMP paths), the panel's
 * screen position and size. Returns 0, or nonzero when a picture cannot be read. */
VKO_PLAYER_API int initPlayOption(const char* idlePicture, const char* backgroundPicture, int32_t x, int32_t y,
                                  int32_t width, int32_t height);
/* Returns 0 when the file has a picture or sound stream to play, nonzero otherwise (the idle
 * picture is shown then). Stops what plays. */
VKO_PLAYER_API int openFile(const char* path);
/* Plays from the given whole second (0 = start); the first picture shown is the one at that time.
 * While paused, startPlay(0) goes on from where the pause was. */
VKO_PLAYER_API int startPlay(int32_t seconds);
VKO_PLAYER_API int pausePlay(void);
/* 1 = stop for good (the file is closed and the idle picture shown), 0 = stop before starting
 * elsewhere (the last picture stays). */
VKO_PLAYER_API int stopPlay(int32_t forGood);
/* Ends the output and every thread of the player. */
VKO_PLAYER_API void close_sdl(void);
/* Writes the shown picture with the preview settings at the source's size; ".jpg", ".bmp" or
 * ".png" by the extension. 0 on success; otherwise nothing is left at path. */
VKO_PLAYER_API int vkoCapture(const char* path);

VKO_PLAYER_API void cropFlim(void);
VKO_PLAYER_API void upCropFlim(int32_t pixels);
VKO_PLAYER_API void bottomCropFlim(int32_t pixels);
VKO_PLAYER_API void leftCropFlim(int32_t pixels);
VKO_PLAYER_API void rightCropFlim(int32_t pixels);
VKO_PLAYER_API void setBrightness(int32_t value);
VKO_PLAYER_API void setContrast(int32_t value);
VKO_PLAYER_API void setSaturation(int32_t value);
VKO_PLAYER_API void noEffectFlim(void);
VKO_PLAYER_API void grayFlim(void);
VKO_PLAYER_API void embossFlim(void);
VKO_PLAYER_API void oldFlim(void);
VKO_PLAYER_API void noFlipFlim(void);
VKO_PLAYER_API void horiFlipFlim(void);
VKO_PLAYER_API void vertFlipFlim(void);

/* The wave-output volume word, read back as it was set. The sound output gain follows its high
 * 16 bits (0xFFFF = full) on both channels: the program sets one level as p x 8421412, whose low
 * half wraps around and carries no level. */
VKO_PLAYER_API void setOutputVolume(uint32_t volumeWord);
VKO_PLAYER_API uint32_t getOutputVolume(void);

/* A crop rectangle dragged in the shown picture, in pixels of the last picture the frame sink got
 * (shownWidth x shownHeight). The player crops to it and reports the margins in source pixels to
 * the crop callback. */
VKO_PLAYER_API void dragCropRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t shownWidth,
                                      int32_t shownHeight);

/* The pictures initPlayOption was given: 0 = idle picture, 1 = background. Copies it like
 * getPreviewPicture; returns 1 when copied, 0 when there is none, -1 when pixels is null or too
 * small (width and height tell the size needed). */
VKO_PLAYER_API int32_t getPlayerPicture(int32_t which, uint8_t* pixels, int32_t capacity, int32_t* width,
                                        int32_t* height);

/* Pictures shown and pictures left out because they were late, since the last startPlay. */
VKO_PLAYER_API void getPlayCounters(int64_t* shown, int64_t* dropped);

/* The engine's picture during a conversion, shown through the frame sink. codecContext gives its
 * width, height and pixel format (the picture's own are used when it is null). Returns at once. */
VKO_PLAYER_API void preview(const struct AVFrame* picture, const struct AVCodecContext* codecContext);

/* Copies the latest preview picture into pixels (0xAARRGGBB, width x height x 4 bytes). Returns
 * its sequence number (growing with every new picture), 0 when there is none yet, or -1 when
 * pixels is null or capacity too small (width and height tell the size needed). */
VKO_PLAYER_API int32_t getPreviewPicture(uint8_t* pixels, int32_t capacity, int32_t* width, int32_t* height);

#ifdef __cplusplus
}
#endif

#endif
