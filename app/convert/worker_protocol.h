// What the supervisor and a worker process say to each other (see clipwright_worker.cpp).
//
// Supervisor to worker, one JSON object per line on the worker's standard input:
//   a job  {"job": {"rows": [row, ...], "sourceSeconds": [s, ...], "outputFolder": F,
//           "outputName": N, "previewWidth": W, "previewHeight": H}}   rows as the saved job list
//           writes them (job_row_json.h) with the length the job list gave each source; the
//           output is F + N + "." + the profile's extension, decided by the supervisor;
//   then   {"command": "cancel"}  finish the output as a cancel does;
//          {"command": "preview", "on": true|false}  send preview pictures or stop.
//   After a job's result line the worker takes the next job line. The end of the input ends the
//   worker: at once while a job converts (the supervisor is gone; the partial file stays, as a
//   killed run's does, for the next run of that output to remove).
// Worker to supervisor, one JSON object per line on its standard output:
//   {"event": "progress", "time": seconds}       the engine's progress report;
//   {"event": "picture", "width": W, "height": H} followed by W x H x 4 bytes, 0xAARRGGBB words
//           in native order, rows top to bottom: the latest picture at the preview's size;
//   {"event": "result", "code": C, "detail": D, "output": path, "expectedSeconds": E,
//    "writtenSeconds": S, "damage": text, "partial": true|false, "tracks": {"dropped": [{"kind",
//    "number", "codec", "language", "title", "input", "reason"}...], "burnWithoutSubtitles": name,
//    "inputs": [file names]}}   always a job's last line.
// Texts that may hold any bytes (file names, paths, details) are strings when they are valid UTF-8
// and {"bytes": "<hex>"} otherwise (bytes_json.h).
// A worker that ends without a result line for its job has crashed; the supervisor fails only that
// job.
#pragma once

#include <QJsonObject>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "job_row_json.h"
#include "engine_job_filling.h"

struct WorkerJob {
    std::vector<SavedJobRow> rows;
    std::vector<double> sourceSeconds;  // by row: the source's length as the job list knows it
    std::string outputFolder;  // with its trailing separator
    std::string outputName;    // the decided base name of the output
    int previewWidth = 0;      // size of the preview pictures; 0 when none are wanted
    int previewHeight = 0;
};

// The first line the worker reads for rows (all of them merge into one output).
std::string workerJobLine(const std::vector<NodeSettingInfo*>& rows, const std::string& outputFolder,
                          const std::string& outputName, int previewWidth, int previewHeight);
std::optional<WorkerJob> workerJobOf(const std::string& line);

std::string cancelCommandLine();
std::string previewCommandLine(bool on);

// A job's result as the worker sends it.
struct WorkerResult {
    int code = 0;
    std::string detail;       // the engine's detail of a failure
    std::string outputPath;   // the output file the job wrote or began
    OutputLength length;      // of a job that succeeded
    std::string damage;       // of a job that succeeded: damaged source parts it skipped
    bool partialOutput = false;  // a cancelled job left part of its output
    TrackNotes tracks;        // of a job that succeeded: the source tracks it left out
    std::vector<std::string> inputNames;  // the job's source file names, for the notes of a merge
};

std::string progressEventLine(double seconds);
// The line before a picture's bytes.
std::string pictureEventLine(int width, int height);
std::string resultEventLine(const WorkerResult& result);

struct WorkerEvent {
    enum class Kind { Progress, Picture, Result, Unknown } kind = Kind::Unknown;
    double seconds = 0;              // Progress
    int width = 0, height = 0;       // Picture
    std::vector<uint8_t> pixels;     // Picture
    WorkerResult result;             // Result
};

// Splits what arrives from a worker into events.
class WorkerEventReader {
public:
    void append(const char* data, size_t size);
    // The next complete event, if one has arrived.
    std::optional<WorkerEvent> next();

private:
    std::string buffer_;
    std::optional<WorkerEvent> pendingPicture_;  // its line has come, its bytes not all yet
};

// What a line from the supervisor asks of the worker.
struct WorkerCommand {
    bool cancel = false;
    std::optional<bool> preview;
};
WorkerCommand workerCommandOf(const std::string& line);
