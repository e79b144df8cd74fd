/* Error texts of the conversion engine's result codes, and the detail of the latest failure. */
#ifndef VKO_MESSAGE_DLL_H
#define VKO_MESSAGE_DLL_H

#include <stdint.h>

#if defined(_WIN32)
#define VKO_MESSAGE_API __declspec(dllexport)
#else
#define VKO_MESSAGE_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A code the engine returns when a setting's value is rejected (an option value, a number or a
 * time text that cannot be read). */
#define VKO_ERROR_INVALID_OPTION_VALUE 80

/* Codes of the program's own checks before a job reaches the engine: the output path does not
 * fit its buffer, the profile makes neither video nor audio, a merge has more inputs than a job
 * can hold; and after the engine: it reported success but left no output file. */
#define VKO_ERROR_OUTPUT_PATH_TOO_LONG 90
#define VKO_ERROR_UNKNOWN_MEDIA_TYPE 91
#define VKO_ERROR_TOO_MANY_INPUTS 92
#define VKO_ERROR_NO_OUTPUT_FILE 93
/* The output file is one of the job's input files (the same file under any name: "./", "..",
 * symbolic or hard links); nothing is written, whatever the overwrite setting says. */
#define VKO_ERROR_OUTPUT_IS_INPUT 81

/* A path does not fit its field; it is refused rather than cut to another name. */
#define VKO_ERROR_PATH_TOO_LONG 82

/* The job converted no picture and no sound (a trim past the end, an input without decodable
 * streams); its output is removed. */
#define VKO_ERROR_NOTHING_CONVERTED 83

/* The job asks for a sound track the input does not have; nothing is written. */
#define VKO_ERROR_NO_SUCH_AUDIO_TRACK 84

/* The job asks to draw a subtitle track the input does not have; nothing is written. */
#define VKO_ERROR_NO_SUCH_SUBTITLE_TRACK 85

/* Records the latest failure: its code and the engine's detail text (may be null). Thread-safe;
 * called from the converting thread. The flag is kept for callers that pass 1; it is not used. */
VKO_MESSAGE_API int32_t updateErrorInfo(int32_t code, const char* detail, int32_t flag);

/* A clear English sentence for a result code; codes it does not know get a generic sentence with
 * the number. The text stays valid until the calling thread asks again. language and flag are
 * passed as 0 and 1 by the program. */
VKO_MESSAGE_API const char* getErrorInfo(int32_t code, int32_t language, int32_t flag);

/* Copies the detail text of the latest report into buffer (always NUL-terminated when size > 0)
 * and returns the code of that report, 0 when nothing was reported yet. Code 0 with a detail is
 * the engine's warning after a job that succeeded but skipped damaged parts of a source. */
VKO_MESSAGE_API int32_t getLastErrorDetail(char* buffer, int32_t size);

#ifdef __cplusplus
}
#endif

#endif
