// The worker process: reads job descriptions on its standard input and converts them one after
// another with the engine exactly as a conversion thread does (converteToMedia on this process's
// own engine state), writing each one's progress, preview pictures and result on its standard
// output. The protocol is in worker_protocol.h.
//
// For the tests only: when CLIPWRIGHT_WORKER_TEST_ABORT names the job's output base name, the
// worker aborts at its first progress report, as a crashing decoder would. Unset, it does nothing.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>  // _exit
#include <vector>

#include "engine_job_filling.h"
#include "fixed_field.h"
#include "fp_exceptions.h"
#include "job_list.h"
#include "vkoConverterDll.h"
#include "vkoMessageDll.h"
#include "vkoPlayerDll.h"
#include "window_message.h"
#include "worker_protocol.h"

namespace {

// 1 once the supervisor cancelled the running job; written by the command thread, read by the
// converting (main) thread.
std::atomic<int32_t> cancelled{0};
// Whether the output base name is the one the test hook names; set by the main thread before
// each job (the engine reports on the main thread).
bool abortAtFirstReport = false;
// Size the preview pictures are fitted into; set by the main thread before each job.
int previewWidth = 0;
int previewHeight = 0;

std::mutex outputLock;  // one event at a time on the standard output (converting threads)

void writeOut(const std::string& header, const uint8_t* bytes = nullptr, size_t size = 0)
{
    std::lock_guard guard(outputLock);
    std::cout.write(header.data(), static_cast<std::streamsize>(header.size()));
    if (bytes)
        std::cout.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    std::cout.flush();
}

int32_t isCancelled()
{
    return cancelled.load();
}

void onEngineMessage(void*, unsigned message, uintptr_t wParam, intptr_t)
{
    if (message != MSG_CONVERT_PROGRESS)
        return;
    auto* report = reinterpret_cast<ProgressReport*>(wParam);
    const double seconds = report->timeSeconds;
    std::free(report);
    if (abortAtFirstReport)
        std::abort();
    writeOut(progressEventLine(seconds));
}

// The engine's picture fitted into the preview size, its aspect ratio kept (nearest pixels: the
// panel scales it smoothly once more).
void onPreviewPicture(void*, const uint8_t* pixels, int32_t width, int32_t height)
{
    if (!pixels || width <= 0 || height <= 0 || previewWidth <= 0 || previewHeight <= 0)
        return;
    const double scale = std::min({1.0, static_cast<double>(previewWidth) / width,
                                   static_cast<double>(previewHeight) / height});
    const int fittedWidth = std::max(1, static_cast<int>(width * scale));
    const int fittedHeight = std::max(1, static_cast<int>(height * scale));
    std::vector<uint32_t> fitted(static_cast<size_t>(fittedWidth) * static_cast<size_t>(fittedHeight));
    for (int y = 0; y < fittedHeight; ++y) {
        const int sourceY = static_cast<int>(static_cast<int64_t>(y) * height / fittedHeight);
        for (int x = 0; x < fittedWidth; ++x) {
            const int sourceX = static_cast<int>(static_cast<int64_t>(x) * width / fittedWidth);
            std::memcpy(&fitted[static_cast<size_t>(y) * static_cast<size_t>(fittedWidth) + static_cast<size_t>(x)],
                        pixels + (static_cast<size_t>(sourceY) * static_cast<size_t>(width) + static_cast<size_t>(sourceX)) * 4,
                        4);
        }
    }
    writeOut(pictureEventLine(fittedWidth, fittedHeight), reinterpret_cast<const uint8_t*>(fitted.data()),
             fitted.size() * 4);
}

// The job lines the command thread has read and the main thread converts in turn; an empty one
// ends the worker. Guarded by jobsLock.
std::mutex jobsLock;
std::condition_variable jobsArrived;
std::deque<std::string> jobLines;
// Written by the command thread: the main thread converts a job.
std::atomic<bool> converting{false};

void queueJobLine(std::string line)
{
    std::lock_guard guard(jobsLock);
    jobLines.push_back(std::move(line));
    jobsArrived.notify_one();
}

std::string nextJobLine()
{
    std::unique_lock guard(jobsLock);
    jobsArrived.wait(guard, [] { return !jobLines.empty(); });
    std::string line = std::move(jobLines.front());
    jobLines.pop_front();
    return line;
}

// Reads the supervisor's lines: jobs go to the main thread, commands are carried out at once. The
// input ending means the supervisor is done (the worker ends) or gone while a job converts (the
// worker ends at once, as the supervisor did, and leaves its partial file for the next run).
void followSupervisor()
{
    for (std::string line; std::getline(std::cin, line);) {
        if (workerJobOf(line)) {
            cancelled = 0;
            setUsingPreview(0);
            converting = true;
            queueJobLine(line);
            continue;
        }
        const WorkerCommand command = workerCommandOf(line);
        if (command.cancel)
            cancelled = 1;
        if (command.preview)
            setUsingPreview(*command.preview ? 1 : 0);
    }
    if (converting)
        _exit(3);
    queueJobLine("");
}

// The job's rows, their sources described anew by the engine but with the lengths the job list
// knew them by.
std::vector<std::unique_ptr<NodeData>> rowsOf(const WorkerJob& job)
{
    std::vector<std::unique_ptr<NodeData>> rows;
    for (size_t i = 0; i < job.rows.size(); ++i) {
        const SavedJobRow& saved = job.rows[i];
        SourceProbe probe = probeSourceFile(saved.source);
        copyCut(probe.info.path, saved.source);
        probe.info.durationSeconds = job.sourceSeconds[i];
        rows.push_back(makeJobRow(probe.info, saved.profile));
        applySavedRow(*rows.back(), saved);
    }
    copyCut(rows.front()->settings.outputName, job.outputName);
    return rows;
}

WorkerResult convert(const WorkerJob& description)
{
    const std::vector<std::unique_ptr<NodeData>> rows = rowsOf(description);
    std::vector<NodeSettingInfo*> settings;
    for (const auto& row : rows)
        settings.push_back(&row->settings);
    const EngineJob job(settings, description.outputFolder, OutputNaming::Replace);
    updateErrorInfo(0, "", 1);
    WorkerResult result;
    result.code = job.convert();
    result.outputPath = job.outputPath();
    const EngineReport report = latestEngineReport();
    if (cancelled.load() != 0) {
        result.partialOutput = hasContent(job.outputPath());
    } else if (result.code == 0) {
        result.length = job.outputLength();
        result.damage = report.code == 0 ? report.detail : std::string();
        result.tracks = job.trackNotes();
        result.inputNames = job.inputNames();
    } else {
        result.detail = report.detail;
    }
    return result;
}

} // namespace

int main()
{
    maskFloatingPointExceptions();
    const char* abortName = std::getenv("CLIPWRIGHT_WORKER_TEST_ABORT");
    MessageWindow window{onEngineMessage, nullptr};
    ProgressSink sink{isCancelled, &window};
    setProgressHandle(&sink);
    setUsingPreview(0);
    setFrameSink(onPreviewPicture, nullptr);
    std::thread(followSupervisor).detach();
    // One job at a time, as long as the supervisor hands out jobs.
    for (std::string line = nextJobLine(); !line.empty(); line = nextJobLine()) {
        const WorkerJob job = *workerJobOf(line);
        abortAtFirstReport = abortName != nullptr && job.outputName == abortName;
        previewWidth = job.previewWidth;
        previewHeight = job.previewHeight;
        const WorkerResult result = convert(job);
        converting = false;
        writeOut(resultEventLine(result));
    }
    setFrameSink(nullptr, nullptr);
    setProgressHandle(nullptr);
    // The command thread has ended its reading: end without joining it.
    std::cout.flush();
    _exit(0);
}
