#include "vkoMessageDll.h"

#include <cstdio>

namespace {

struct CodeText {
    int32_t code;
    const char* text;
};

constexpr CodeText kTexts[] = {
    {0, "The conversion finished successfully."},
    {2, "The converted data could not be written to the output file."},
    {3, "The statistics file for two-pass encoding could not be opened."},
    {4, "The sound cannot be resampled to the requested channels and sample rate."},
    {6, "The requested encoder or decoder is not available."},
    {7, "The input file cannot be opened. It may be missing, damaged or of an unknown kind."},
    {8, "The input file's streams could not be analysed. It may be damaged or incomplete."},
    {9, "An output stream could not be created."},
    {10, "The rate control settings are not valid."},
    {11, "No suitable output format was found for the output file name."},
    {12, "The output file name of an image sequence must contain a number pattern such as %d."},
    {13, "The output file already exists and overwriting is turned off."},
    {14, "The output file cannot be created. Check that the folder exists and can be written to."},
    {15, "The encoding parameters are not valid for the output format."},
    {16, "The output file would contain no stream."},
    {21, "The input file has no stream that fits the output's streams."},
    {23, "A picture buffer could not be allocated for the requested pixel format."},
    {24, "The picture or sound converter could not be set up for these parameters."},
    {26, "The statistics buffer for two-pass encoding could not be allocated."},
    {30, "The output format is unknown."},
    {31, "The picture size is not valid."},
    {32, "The picture width and height must be even numbers."},
    {33, "The frame rate is not valid."},
    {34, "The aspect ratio is not valid."},
    {35, "The video quality value must be above 0 and at most 255."},
    {36, "A crop margin is negative."},
    {38, "The crop margins are larger than the picture."},
    {39, "A padding size is negative."},
    {41, "No file name was given."},
    {42, "The file contains neither video nor audio that can be converted."},
    {43, "The WMV format needs the WMV1 or WMV2 video encoder."},
    {44, "The quantiser difference must be between 1 and 31."},
    {45, "The 3GP format needs the 3gp or 3g2 container."},
    {47, "The VOB format needs MP2 or AC-3 audio."},
    {48, "The WMA and WMV formats need WMA1 or WMA2 audio."},
    {49, "The video norm (PAL, NTSC or film) of the target could not be determined, or the target is unknown."},
    {50, "The requested pixel format is not valid."},
    {51, "This output format is not available for the chosen device."},
    {55, "The sound buffers could not be allocated."},
    {57, "A subtitle packet has no time stamp."},
    {58, "The picture could not be cropped."},
    {59, "The picture could not be padded."},
    {60, "The audio of the input file could not be decoded."},
    {61, "The audio sample format cannot be converted."},
    {62, "The audio buffer could not be enlarged."},
    {63, "Encoding the audio failed."},
    {64, "Encoding the video failed."},
    {65, "The video of the input file could not be decoded."},
    {66, "The subtitles of the input file could not be decoded."},
    {67, "The input file contains a stream of an unknown kind."},
    {68, "The volume cannot be changed when the audio is copied without converting."},
    {71, "There is not enough memory for the output buffer."},
    {72, "An encoder or decoder could not be opened, or the output header could not be written."},
    {73, "The requested pixel format is unknown."},
    {74, "No output file name was given."},
    {75, "At least one input file must be given."},
    {76, "A metadata entry is missing its '=' sign."},
    {77, "The video pixel format is unknown, so the video cannot be decoded."},
    {VKO_ERROR_INVALID_OPTION_VALUE, "A setting has a value that cannot be used."},
    {VKO_ERROR_OUTPUT_PATH_TOO_LONG, "The output file path is too long. Choose a shorter output folder or name."},
    {VKO_ERROR_UNKNOWN_MEDIA_TYPE, "The profile makes neither video nor audio, so nothing was converted."},
    {VKO_ERROR_TOO_MANY_INPUTS, "Too many files to merge into one output."},
    {VKO_ERROR_NO_OUTPUT_FILE, "The conversion ended without writing an output file."},
    {VKO_ERROR_OUTPUT_IS_INPUT, "The output file is one of the input files. Choose another output name or folder."},
    {VKO_ERROR_PATH_TOO_LONG, "A file path is too long. Choose a shorter output name or folder."},
    {VKO_ERROR_NOTHING_CONVERTED, "Nothing could be converted: the input gave no picture and no sound for the chosen "
                                  "range."},
    {VKO_ERROR_NO_SUCH_AUDIO_TRACK, "The chosen audio track is not in the file. Choose one of the tracks it has."},
    {VKO_ERROR_NO_SUCH_SUBTITLE_TRACK,
     "The chosen subtitle track is not in the file. Choose one of the subtitle tracks it has."},
};

} // namespace

extern "C" const char* getErrorInfo(int32_t code, int32_t /*language*/, int32_t /*flag*/)
{
    for (const CodeText& entry : kTexts)
        if (entry.code == code)
            return entry.text;
    thread_local char generic[96];
    std::snprintf(generic, sizeof generic, "The conversion failed (error %d).", code);
    return generic;
}
