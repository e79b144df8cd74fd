// The engine's failures reach the error-message library: every detail text the engine reports is
// handed to it, under the engine's codes, which are the library's public ones.
#include "error_report.h"
#include "vkoMessageDll.h"

namespace engine {

static_assert(kInvalidOptionValue == VKO_ERROR_INVALID_OPTION_VALUE);
static_assert(kOutputIsInput == VKO_ERROR_OUTPUT_IS_INPUT);
static_assert(kPathTooLong == VKO_ERROR_PATH_TOO_LONG);
static_assert(kNothingConverted == VKO_ERROR_NOTHING_CONVERTED);
static_assert(kNoSuchAudioTrack == VKO_ERROR_NO_SUCH_AUDIO_TRACK);
static_assert(kNoSuchSubtitleTrack == VKO_ERROR_NO_SUCH_SUBTITLE_TRACK);

namespace {

void handToMessageLibrary(int code, const char* detail)
{
    updateErrorInfo(code, detail, 1);
}

// Set when the library loads, before any exported function can run.
[[maybe_unused]] const bool detailPortSet = (setErrorDetailPort(handToMessageLibrary), true);

} // namespace

} // namespace engine
