// One engine job filled from job rows: the group record with one input per row, the output path
// made unique in the output folder, and the texts the records point to, owned until the job ends.
// Plain C++ shared by the program's conversion thread and the command line.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "job_rows.h"
#include "vkoConverterDll.h"

// folder + name + "." + extension; empty when it does not fit outputPathSize bytes.
std::string plainOutputPath(const std::string& folder, const std::string& name, const std::string& extension);

// The output path folder + name + "." + extension, or with "(1)", "(2)", … after the name when
// that file exists or a running conversion writes its partial file (partial_file.h); the first
// name that is free and not one of reserved (the outputs of a run's other jobs). Empty when the
// path does not fit outputPathSize bytes (terminator included).
std::string uniqueOutputPath(const std::string& folder, const std::string& name, const std::string& extension,
                             const std::set<std::string>& reserved = {});

constexpr size_t outputPathSize = 512;

// A file that exists and is not empty.
bool hasContent(const std::string& path);

// How long a written output is against the length its sources should have given.
struct OutputLength {
    double expectedSeconds = 0;
    double writtenSeconds = -1;  // negative when the output could not be read back

    // Clearly short: more than 2 s or more than 10 % below the expected length.
    bool shortened() const;
};

// The engine's latest report (vkoMessageDll.h): its code and its detail without trailing blanks.
// After a job that succeeded, code 0 with a detail says the job skipped damaged parts of a source.
struct EngineReport {
    int code = 0;
    std::string detail;
};
EngineReport latestEngineReport();

// What a job will leave out of its sources, known before it runs: the streams its track choice or
// its container does not write, and the source of a burn request that has no subtitles to draw.
struct TrackNotes {
    std::vector<MediaStreamDrop> dropped;
    std::string burnWithoutSubtitles;  // empty unless the first source has no subtitle track

    // The dropped streams of one reason (VKO_DROP_...) as one line, "audio 2: deu, Deutsch; subtitle
    // 1: fre" with the kinds named by kindNames (audio, subtitle, attachment); in a merge each
    // stream is preceded by its file's name. Empty when there are none.
    std::string droppedText(int32_t reason, const std::vector<std::string>& kindNames,
                            const std::vector<std::string>& inputNames) const;
};

// Unique: the output never replaces an existing file ("(n)" names); Replace: folder + name +
// extension, replacing a file of that name (never one of the job's inputs, which the engine
// refuses).
enum class OutputNaming { Unique, Replace };

// Why a row's constant quality cannot be encoded (its encoder has no quality scale, or the value
// is off the scale); empty when it can.
std::string qualityProblem(const ProfileSettingInfo& profile);

class EngineJob {
public:
    // One row makes a single job; several rows make a merge job whose output settings all come
    // from the first row. Rows must not be empty.
    EngineJob(const std::vector<NodeSettingInfo*>& rows, const std::string& outputFolder,
              OutputNaming naming = OutputNaming::Unique);
    ~EngineJob();
    EngineJob(const EngineJob&) = delete;
    EngineJob& operator=(const EngineJob&) = delete;

    // 0 when the job can be converted; otherwise the code (vkoMessageDll.h) that refuses it.
    int refusal() const { return refusal_; }
    bool isVideo() const { return video_; }
    const std::string& outputPath() const { return outputPath_; }
    // The filled record; null when the job was refused.
    const GroupMediaUIOption* group() const { return group_; }

    // Runs the engine on the job and returns its code; a success that left no output file (or an
    // empty one) is VKO_ERROR_NO_OUTPUT_FILE. A refused job is not converted. Codes of this
    // program's own checks go to the error-message library with their reason.
    int convert() const;
    // The converted length of the sources (their trims, within their real lengths) and the length
    // of the output file as the engine reads it back.
    OutputLength outputLength() const;
    // Read from the engine when the job is made (before it runs); none for a refused job.
    const TrackNotes& trackNotes() const { return trackNotes_; }
    // The file names of the job's sources, in input order.
    std::vector<std::string> inputNames() const;

private:
    const char* keep(const char* text, size_t capacity);
    void fillGroup(const NodeSettingInfo& row);
    void fillInput(MediaUIOption& input, const NodeSettingInfo& row);
    void refuse(int code, std::string reason);
    void readTrackNotes(const NodeSettingInfo& first);

    GroupMediaUIOption* group_ = nullptr;
    std::vector<std::unique_ptr<char[]>> texts_;  // what the records point to
    std::string format_;
    std::string outputPath_;
    double expectedSeconds_ = 0;
    bool video_ = false;
    int refusal_ = 0;
    std::string refusalReason_;
    TrackNotes trackNotes_;
};
