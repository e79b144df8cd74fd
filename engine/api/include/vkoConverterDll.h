/* Public interface of the conversion engine: the records that cross from the program to the
 * engine, and the twelve exported functions. The byte layout of every record is fixed (see the
 * layout checks at the end); pointer fields are 4 bytes on 32-bit builds. */
#ifndef VKO_CONVERTER_DLL_H
#define VKO_CONVERTER_DLL_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define VKO_CONVERTER_API __declspec(dllexport)
#else
#define VKO_CONVERTER_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum {
    VKO_MAX_INPUTS = 120,
    VKO_PATH_SIZE = 1028,
    VKO_TAG_SIZE = 512,
    MSG_CONVERT_PROGRESS = 2124
};

/* Format types returned by getFormatType. */
enum { VKO_FORMAT_UNKNOWN = -1, VKO_FORMAT_VIDEO = 0, VKO_FORMAT_AUDIO = 1, VKO_FORMAT_IMAGE = 2 };

/* One input file of a job. */
typedef struct MediaUIOption {
    uint32_t reserved0;
    char sourcePath[VKO_PATH_SIZE];
    double reserved1032;
    int32_t startSeconds;    /* trim start, whole seconds */
    int32_t durationSeconds; /* trim length; 0 or less = to the end */
    int32_t cropTop;
    int32_t cropBottom;
    int32_t cropLeft;
    int32_t cropRight;
    const char* zoomMode; /* "original", "full", "16:9", "4:3" */
    int32_t padTop;
    int32_t padBottom;
    int32_t padLeft;
    int32_t padRight;
    int32_t brightness;
    int32_t contrast;
    int32_t saturation;
    int32_t verticalFlip;
    int32_t horizontalFlip;
    int32_t pictureEffect; /* 0 none, 1 gray, 2 emboss, 3 old */
    int32_t padding;
} MediaUIOption;

/* One conversion job: one output made from 1 to 120 inputs. */
typedef struct GroupMediaUIOption {
    uint32_t reserved0;
    int32_t inputCount;
    MediaUIOption* inputs[VKO_MAX_INPUTS];
    const char* audioCodec;
    int32_t audioBitrate; /* bit/s */
    int32_t channels;
    int32_t sampleRate;
    int32_t volume; /* 256 = unchanged */
    const char* videoCodec;
    int32_t videoBitrate; /* bit/s */
    const char* frameSize; /* "320x240" */
    float frameRate;
    char title[VKO_TAG_SIZE];
    char author[VKO_TAG_SIZE];
    char album[VKO_TAG_SIZE];
    char genre[VKO_TAG_SIZE];
    char copyright[VKO_TAG_SIZE];
    char track[VKO_TAG_SIZE];
    char year[VKO_TAG_SIZE];
    uint32_t reserved4108;
    int32_t overwrite;
    int32_t deviceClass;
    const char* containerName;
    char outputPath[VKO_PATH_SIZE];
} GroupMediaUIOption;

/* reserved4108 of a group carries the output's rate control and picture rules; 0 keeps the bit
 * rate, picture size and frame rate of the group as they are. The low byte is a quality on the
 * video encoder's own scale (vkoQualityScale.h), encoded instead of videoBitrate when
 * VKO_OUTPUT_QUALITY is set. */
enum {
    VKO_OUTPUT_QUALITY_VALUE = 0xFF,
    VKO_OUTPUT_QUALITY = 0x100,     /* constant quality instead of the video bit rate */
    VKO_OUTPUT_SOURCE_SIZE = 0x200, /* the picture size of the source instead of frameSize */
    VKO_OUTPUT_SOURCE_RATE = 0x400, /* the frame rate of the source instead of frameRate */
    VKO_OUTPUT_NO_ENLARGE = 0x800,  /* a source smaller than frameSize keeps its own size */
    VKO_OUTPUT_MUTE = 0x1000        /* silent sound: a volume of 0 (the volume field reads 0 as
                                     * unchanged) */
};

/* Description of a media file, filled by getFileInfo into a record the caller allocates. */
typedef struct MediaFileInfo {
    char path[1024];
    char demuxerName[200];
    double durationSeconds;
    int32_t durationWholeSeconds;
    int32_t padding;
    double sizeKB;
    int32_t width;
    int32_t height;
    char videoCodecName[50];
    char audioCodecName[50];
    int32_t videoBitrate;
    float videoFrameRate;
    int32_t audioBitrate;
    int32_t audioChannels;
    int32_t audioSampleRate;
    char title[VKO_TAG_SIZE];
    char author[VKO_TAG_SIZE];
    char album[VKO_TAG_SIZE];
    char genre[VKO_TAG_SIZE];
    char copyright[VKO_TAG_SIZE];
    char track[VKO_TAG_SIZE];
    char year[VKO_TAG_SIZE];
} MediaFileInfo;

/* Cancel query and progress window of the caller. Either may be null. On Windows window is an
 * HWND; elsewhere it points to a MessageWindow (platform/window_message.h). */
typedef struct ProgressSink {
    int32_t (*isCancelled)(void);
    void* window;
} ProgressSink;

/* Posted with MSG_CONVERT_PROGRESS as wParam; allocated with malloc by the engine, released
 * with free by the receiver. */
typedef struct ProgressReport {
    int32_t frameNumber;
    int32_t fps;
    double quality;
    double bitrateKbps;
    double sizeKB;
    double timeSeconds;
    int32_t qpHistogram[32];
    double psnr[3];
    double psnrTotal;
    int32_t duplicated;
    int32_t dropped;
    char text[2072];
} ProgressReport;

/* Threads: converteToMedia runs the whole conversion on the calling thread, and one conversion
 * runs at a time. Beside a running conversion, other threads may call setUsingPreview (read at the
 * next picture), getFileInfo and isSupportFormat (the probe has its own state and never touches
 * the conversion's), getFormatID and getFormatType. No other call may overlap a conversion.
 *
 * Paths: a path must fit its field (VKO_PATH_SIZE - 1 characters); a longer one is refused
 * (createMediaUIOption returns null, the other calls VKO_ERROR_PATH_TOO_LONG), never cut. An output
 * that is one of the job's inputs is refused with VKO_ERROR_OUTPUT_IS_INPUT whatever overwrite
 * says; a job that converts no picture and no sound fails with VKO_ERROR_NOTHING_CONVERTED. A
 * failed job removes the output file it opened.
 *
 * Damaged sources: packets that cannot be read or decoded are skipped (a read error ends that
 * input). A job that skipped some still returns 0, and reports code 0 with a detail naming the input
 * and the number of packets to the error-message library (updateErrorInfo); a caller that cleared
 * the report before the job finds it there with getLastErrorDetail. */
VKO_CONVERTER_API int getFormatID(const char* name);
VKO_CONVERTER_API int getFormatType(const char* name);
VKO_CONVERTER_API ProgressSink* setProgressHandle(ProgressSink* sink);
VKO_CONVERTER_API int setUsingPreview(int flag);
VKO_CONVERTER_API GroupMediaUIOption* createGroupMediaUIOption(GroupMediaUIOption** group, const char* format,
                                                               int deviceClass);
VKO_CONVERTER_API MediaUIOption* createMediaUIOption(GroupMediaUIOption* group, const char* sourcePath);
VKO_CONVERTER_API int freeGroupMediaUIOption(GroupMediaUIOption** group);
VKO_CONVERTER_API int converteToMedia(GroupMediaUIOption* group, const char* format, int deviceClass);
VKO_CONVERTER_API int getFileInfo(MediaFileInfo* info);
VKO_CONVERTER_API int isSupportFormat(const char* path);
VKO_CONVERTER_API int cloneConverte2MediaUIOption(const MediaUIOption* source, MediaUIOption* destination);
VKO_CONVERTER_API int cloneConverteGroup2MediaUIOption(const GroupMediaUIOption* source,
                                                       GroupMediaUIOption* destination);

/* Additions of this engine beside the twelve functions above.
 *
 * The streams of a file a job may keep or leave out: every audio stream, every subtitle stream and
 * every attachment or cover picture, in file order. */
enum { VKO_STREAM_AUDIO = 1, VKO_STREAM_SUBTITLE = 2, VKO_STREAM_ATTACHMENT = 3 };

typedef struct MediaStreamInfo {
    int32_t kind;        /* VKO_STREAM_... */
    int32_t number;      /* from 1 among the file's streams of the same kind (audio: the track number) */
    int32_t streamIndex; /* in the file */
    char codecName[50];  /* as getFileInfo names codecs */
    char language[16];   /* the "language" tag, "" when the file has none */
    char title[VKO_TAG_SIZE]; /* the "title" tag (an attachment without one: its file name) */
    int32_t channels;    /* audio only, else 0 */
    int32_t sampleRate;  /* audio only, else 0 */
    int32_t isDefault;   /* 1 when the file marks the stream as its default */
    int32_t isForced;    /* 1 when the file marks the stream as forced */
} MediaStreamInfo;

/* Fills streams[0..capacity) with the file's streams and sets *count to how many it has (more than
 * capacity when the array is too short; streams may be null with capacity 0 to ask the count).
 * Returns 0, or the code getFileInfo returns for a file it cannot read. Runs beside a conversion
 * like getFileInfo. */
VKO_CONVERTER_API int getStreamList(const char* path, MediaStreamInfo* streams, int32_t capacity, int32_t* count);

/* The sound of a job: the source's default track (else its first), one track by its getStreamList
 * number (from 1), or every track where the container holds several (Matroska, MP4, MOV; elsewhere
 * the default track). Each kept track is converted with the job's audio settings and keeps its
 * language and title. The choice stays with the record until freeGroupMediaUIOption and is copied by
 * cloneConverteGroup2MediaUIOption; a record the caller allocated itself keeps it until it is set
 * again. converteToMedia fails with VKO_ERROR_NO_SUCH_AUDIO_TRACK, before any output is opened,
 * when the first input has no track of that number. Returns 0, or 41 for a null record or a number
 * below VKO_AUDIO_TRACKS_ALL. Call it like the record functions, never beside a conversion. */
enum { VKO_AUDIO_TRACK_DEFAULT = 0, VKO_AUDIO_TRACKS_ALL = -1 };
VKO_CONVERTER_API int setAudioTrack(GroupMediaUIOption* group, int32_t track);

/* The subtitles of a job: VKO_SUBTITLES_KEEP keeps text subtitles (SRT, ASS, WebVTT, mov_text)
 * where the container takes them (Matroska as they are, MP4, MOV and M4V as mov_text) and picture
 * subtitles (DVD, PGS) in Matroska only, each with its language, title and default and forced
 * flags, timed like the pictures through trims and merges; VKO_SUBTITLES_NONE writes none; a number
 * N from 1 draws subtitle track N (its getStreamList number among the subtitles) into the picture,
 * after the crop and before the scaling, and writes no subtitle stream. converteToMedia fails with
 * VKO_ERROR_NO_SUCH_SUBTITLE_TRACK, before any output is opened, when the first input has subtitle
 * tracks but not N, and with VKO_ERROR_INVALID_OPTION_VALUE when it has N but the pictures are
 * copied (video encoder "copy": they are never decoded, so nothing can be drawn into them); a file
 * without any converts without drawing (the caller can tell from getStreamList). In a merge the first input's choice applies to every input that has the track.
 * The choice stays with the record like the audio track's and is copied by
 * cloneConverteGroup2MediaUIOption. Returns 0, or 41 for a null record or a choice below
 * VKO_SUBTITLES_NONE. Call it like the record functions, never beside a conversion. */
enum { VKO_SUBTITLES_KEEP = 0, VKO_SUBTITLES_NONE = -1 };
VKO_CONVERTER_API int setSubtitles(GroupMediaUIOption* group, int32_t choice);

/* Why a source stream is not written: the job's track choice left it out, or the output container
 * (or the format's preset) cannot hold it; a picture subtitle track chosen for drawing, which only
 * text subtitles can be, counts as one the output cannot hold. */
enum { VKO_DROP_NOT_CHOSEN = 1, VKO_DROP_CONTAINER = 2 };

typedef struct MediaStreamDrop {
    MediaStreamInfo stream; /* as getStreamList lists it */
    int32_t input;          /* index of the input in the group, from 0 */
    int32_t reason;         /* VKO_DROP_... */
} MediaStreamDrop;

/* The source streams (sound, subtitle and attachment streams, as getStreamList views them) of the
 * job's inputs that converteToMedia with this format and device class will not write, each with
 * why, in input and file order. A subtitle track drawn into the picture is not a drop. Fills
 * drops[0..capacity) and sets *count like getStreamList. Opens the inputs and writes nothing; runs
 * beside a conversion like getFileInfo. Returns 0, 41 for a null record or count, 51 for a format
 * without preset, or the code getFileInfo returns for an input it cannot read. */
VKO_CONVERTER_API int getDroppedStreams(const GroupMediaUIOption* group, const char* format, int deviceClass,
                                        MediaStreamDrop* drops, int32_t capacity, int32_t* count);

/* The trim of one input to the microsecond: the input is converted from startMicroseconds for
 * durationMicroseconds (0 or less: to its end), and startSeconds and durationSeconds are not read.
 * The trim stays with the record until freeGroupMediaUIOption and is copied by
 * cloneConverte2MediaUIOption (and so by cloneConverteGroup2MediaUIOption); a record the caller
 * allocated itself keeps it until it is set again. Returns 0, or 41 for a null record or a negative
 * start. Call it like the record functions, never beside a conversion. */
VKO_CONVERTER_API int setInputTrim(MediaUIOption* input, int64_t startMicroseconds, int64_t durationMicroseconds);

#ifdef __cplusplus
}
#endif

/* Layout checks. Records without pointers keep their offsets on every build; the others match
 * the interface table exactly on 32-bit builds (tests compile this header with -m32). */
#ifdef __cplusplus
#define VKO_LAYOUT_CHECK(condition) static_assert(condition, #condition)
#else
#define VKO_LAYOUT_CHECK(condition) _Static_assert(condition, #condition)
#endif

VKO_LAYOUT_CHECK(sizeof(MediaFileInfo) == 4960);
VKO_LAYOUT_CHECK(offsetof(MediaFileInfo, durationSeconds) == 1224);
VKO_LAYOUT_CHECK(offsetof(MediaFileInfo, sizeKB) == 1240);
VKO_LAYOUT_CHECK(offsetof(MediaFileInfo, videoCodecName) == 1256);
VKO_LAYOUT_CHECK(offsetof(MediaFileInfo, audioCodecName) == 1306);
VKO_LAYOUT_CHECK(offsetof(MediaFileInfo, videoBitrate) == 1356);
VKO_LAYOUT_CHECK(offsetof(MediaFileInfo, audioSampleRate) == 1372);
VKO_LAYOUT_CHECK(offsetof(MediaFileInfo, title) == 1376);
VKO_LAYOUT_CHECK(offsetof(MediaFileInfo, year) == 4448);

VKO_LAYOUT_CHECK(sizeof(ProgressReport) == 2280);
VKO_LAYOUT_CHECK(offsetof(ProgressReport, quality) == 8);
VKO_LAYOUT_CHECK(offsetof(ProgressReport, timeSeconds) == 32);
VKO_LAYOUT_CHECK(offsetof(ProgressReport, qpHistogram) == 40);
VKO_LAYOUT_CHECK(offsetof(ProgressReport, psnr) == 168);
VKO_LAYOUT_CHECK(offsetof(ProgressReport, psnrTotal) == 192);
VKO_LAYOUT_CHECK(offsetof(ProgressReport, duplicated) == 200);
VKO_LAYOUT_CHECK(offsetof(ProgressReport, text) == 208);

#if UINTPTR_MAX == 0xFFFFFFFFu
VKO_LAYOUT_CHECK(sizeof(MediaUIOption) == 1112);
VKO_LAYOUT_CHECK(offsetof(MediaUIOption, sourcePath) == 4);
VKO_LAYOUT_CHECK(offsetof(MediaUIOption, reserved1032) == 1032);
VKO_LAYOUT_CHECK(offsetof(MediaUIOption, startSeconds) == 1040);
VKO_LAYOUT_CHECK(offsetof(MediaUIOption, zoomMode) == 1064);
VKO_LAYOUT_CHECK(offsetof(MediaUIOption, padTop) == 1068);
VKO_LAYOUT_CHECK(offsetof(MediaUIOption, brightness) == 1084);
VKO_LAYOUT_CHECK(offsetof(MediaUIOption, pictureEffect) == 1104);
VKO_LAYOUT_CHECK(offsetof(MediaUIOption, padding) == 1108);

VKO_LAYOUT_CHECK(sizeof(GroupMediaUIOption) == 5152);
VKO_LAYOUT_CHECK(offsetof(GroupMediaUIOption, inputs) == 8);
VKO_LAYOUT_CHECK(offsetof(GroupMediaUIOption, audioCodec) == 488);
VKO_LAYOUT_CHECK(offsetof(GroupMediaUIOption, volume) == 504);
VKO_LAYOUT_CHECK(offsetof(GroupMediaUIOption, videoCodec) == 508);
VKO_LAYOUT_CHECK(offsetof(GroupMediaUIOption, frameSize) == 516);
VKO_LAYOUT_CHECK(offsetof(GroupMediaUIOption, frameRate) == 520);
VKO_LAYOUT_CHECK(offsetof(GroupMediaUIOption, title) == 524);
VKO_LAYOUT_CHECK(offsetof(GroupMediaUIOption, author) == 1036);
VKO_LAYOUT_CHECK(offsetof(GroupMediaUIOption, year) == 3596);
VKO_LAYOUT_CHECK(offsetof(GroupMediaUIOption, reserved4108) == 4108);
VKO_LAYOUT_CHECK(offsetof(GroupMediaUIOption, deviceClass) == 4116);
VKO_LAYOUT_CHECK(offsetof(GroupMediaUIOption, containerName) == 4120);
VKO_LAYOUT_CHECK(offsetof(GroupMediaUIOption, outputPath) == 4124);

VKO_LAYOUT_CHECK(sizeof(ProgressSink) == 8);
#endif

#undef VKO_LAYOUT_CHECK

#endif
