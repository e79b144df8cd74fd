/* RealMedia writer: the engine hands it decoded sound and finished RGB pictures with their times,
 * and it writes the RealMedia file (RealVideo 1.0/2.0 pictures, AC-3 sound).
 *
 * Order of calls for one output: initRmEncoder, startRmConverte, any number of
 * encodeRmAudioPack / encodeRmVideoPack, stopRmConverte. One output at a time per process; the
 * calls may come from any thread and are serialised. Every function returns VKO_RM_OK (0) or a
 * positive VKO_RM_* code. */
#ifndef VKO_RM_ENCODER_DLL_H
#define VKO_RM_ENCODER_DLL_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define VKO_RM_ENCODER_API __declspec(dllexport)
#else
#define VKO_RM_ENCODER_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum {
    VKO_RM_OK = 0,
    VKO_RM_INVALID_SETTINGS = 1, /* no output path, or neither a picture size nor sound to write */
    VKO_RM_WRONG_ORDER = 2,      /* a call that does not fit the order of calls above */
    VKO_RM_INVALID_DATA = 3,     /* a block of the wrong size, or data for a stream the output lacks */
    VKO_RM_OPEN_FAILED = 4,      /* an encoder or the output file could not be opened */
    VKO_RM_ENCODE_FAILED = 5,
    VKO_RM_WRITE_FAILED = 6
};

/* What to write. Texts are the caller's and only read during initRmEncoder. */
typedef struct RealMediaSettings {
    const char* outputPath;
    int32_t width;  /* picture size; 0 for sound only */
    int32_t height;
    const char* audioCodec; /* the profile's name for the sound codec; sound is written as AC-3 */
    const char* videoCodec; /* "rv10" or "rv20" picks the picture codec; other names or null: rmMode */
    int32_t audioBitrate;   /* bit/s */
    int32_t videoBitrate;   /* bit/s */
    int32_t frameRate;      /* pictures per second; 0: inputFrameRate */
    int32_t sampleRate;     /* Hz of the output sound */
    int32_t channels;       /* of the output sound */
    int32_t rmMode;         /* 1: RealVideo 1.0 ("rm", "ra"), 0: RealVideo 2.0 ("rmvb") */
    int32_t inputChannels;  /* of the sound handed to encodeRmAudioPack; 0: no sound */
    int32_t inputSampleRate;
    int32_t reserved52;
    float inputFrameRate;
} RealMediaSettings;

/* Checks and keeps a copy of the settings for the next start. An output that was started and never
 * stopped (its job failed) is finished first, so that its file stays playable. */
VKO_RM_ENCODER_API int32_t initRmEncoder(const RealMediaSettings* settings);

/* Opens the encoders and the output file and writes the file header. */
VKO_RM_ENCODER_API int32_t startRmConverte(void);

/* 16-bit signed interleaved samples at inputChannels and inputSampleRate; byteCount a whole number
 * of sample frames. Times in milliseconds on the output timeline. The first block's start time
 * places the sound (silence before it); later blocks follow on without gaps. */
VKO_RM_ENCODER_API int32_t encodeRmAudioPack(const uint8_t* samples, int32_t byteCount, int32_t startMs,
                                             int32_t endMs);

/* One 32-bit RGB picture (native 0xAARRGGBB words, rows top to bottom without gaps), byteCount =
 * width x height x 4, shown from startMs until the next picture. Pictures are placed on the frame
 * times of frameRate: one that falls on the frame time of the one before is skipped, a gap repeats
 * the picture before it, and the first picture also covers the time before it. */
VKO_RM_ENCODER_API int32_t encodeRmVideoPack(const uint8_t* pixels, int32_t byteCount, int32_t startMs,
                                             int32_t endMs);

/* The media time handed over so far in milliseconds: the latest end time of the blocks accepted
 * since the start. */
VKO_RM_ENCODER_API int32_t getConverteTime(void);

/* Encodes what is still buffered, writes the end of the file and closes it. flags: pass 0. */
VKO_RM_ENCODER_API int32_t stopRmConverte(int32_t flags);

#ifdef __cplusplus
}
#endif

/* Layout checks: on 32-bit builds the record matches the interface table exactly. */
#ifdef __cplusplus
#define VKO_RM_LAYOUT_CHECK(condition) static_assert(condition, #condition)
#else
#define VKO_RM_LAYOUT_CHECK(condition) _Static_assert(condition, #condition)
#endif

#if UINTPTR_MAX == 0xFFFFFFFFu
VKO_RM_LAYOUT_CHECK(sizeof(RealMediaSettings) == 60);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, width) == 4);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, height) == 8);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, audioCodec) == 12);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, videoCodec) == 16);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, audioBitrate) == 20);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, videoBitrate) == 24);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, frameRate) == 28);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, sampleRate) == 32);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, channels) == 36);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, rmMode) == 40);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, inputChannels) == 44);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, inputSampleRate) == 48);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, reserved52) == 52);
VKO_RM_LAYOUT_CHECK(offsetof(RealMediaSettings, inputFrameRate) == 56);
#endif

#undef VKO_RM_LAYOUT_CHECK

#endif
