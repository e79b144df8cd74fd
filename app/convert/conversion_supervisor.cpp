#include "conversion_supervisor.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <list>
#include <optional>
#include <set>

#include "child_process.h"
#include "partial_file.h"
#include "vkoMessageDll.h"
#include "worker_count.h"

namespace {

constexpr int kPollMs = 100;
constexpr const char* kWorkerName = "clipwright-worker";

// One job of the run: its rows and the output decided for it.
struct PlannedJob {
    std::vector<NodeSettingInfo*> rows;
    std::string outputPath;  // empty when it does not fit (the worker refuses the job)
    std::string outputName;  // base name of outputPath
    bool skip = false;
    bool video = false;
};

// A worker process; it converts one job at a time, one after another.
struct Worker {
    ChildProcess process;
    WorkerEventReader reader;
    std::optional<size_t> job;  // the job it converts; none while it waits
    bool previewOn = false;     // of its job
    bool cancelSent = false;    // to its job
};

bool fileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error);
}

// The run's jobs with their outputs named, each name free of the jobs before it and, unless the
// run replaces existing outputs, of the files there.
std::vector<PlannedJob> planJobs(const ConversionRun& run, const SupervisorSettings& settings)
{
    std::vector<PlannedJob> jobs;
    if (run.merge && !run.jobs.empty())
        jobs.push_back({run.jobs, {}, {}, false, false});
    else
        for (NodeSettingInfo* row : run.jobs)
            jobs.push_back({{row}, {}, {}, false, false});
    std::set<std::string> reserved;
    for (PlannedJob& job : jobs) {
        const NodeSettingInfo& first = *job.rows.front();
        job.outputName = first.outputName;
        job.video = first.profile && first.profile->mediaType == 0;
        const std::string extension = first.profile ? first.profile->extension : "";
        const std::string plain = plainOutputPath(run.outputFolder, job.outputName, extension);
        job.skip = settings.skipExisting && (fileExists(plain) || reserved.count(plain) != 0);
        // Replacing applies to files from before the run: a job never replaces an earlier one's output.
        const bool replace = settings.naming == OutputNaming::Replace && reserved.count(plain) == 0;
        job.outputPath = job.skip || replace ? plain
                                             : uniqueOutputPath(run.outputFolder, job.outputName, extension, reserved);
        if (!job.outputPath.empty())
            job.outputName = job.outputPath.substr(run.outputFolder.size(),
                                                   job.outputPath.size() - run.outputFolder.size() - extension.size() - 1);
        reserved.insert(job.outputPath.empty() ? plain : job.outputPath);
    }
    return jobs;
}

class Supervisor {
public:
    Supervisor(const ConversionRun& run, const SupervisorSettings& settings, SupervisorObserver& observer)
        : run_(run), settings_(settings), observer_(observer), jobs_(planJobs(run, settings)), ends_(jobs_.size()),
          program_(settings.workerProgram.empty() ? workerProgramPath() : settings.workerProgram)
    {
    }

    SupervisedRun run()
    {
        SupervisedRun outcome;
        outcome.workers = workerCountFor(run_, settings_.workers, thisMachine());
        for (;;) {
            followCancel(outcome);
            while (!stopping_ && next_ < jobs_.size() &&
                   (idleWorker() != workers_.end() || workers_.size() < static_cast<size_t>(outcome.workers)))
                start(next_++);
            if (stopping_ || next_ == jobs_.size())
                retireIdleWorkers();
            tellEnds();
            followPreview();
            if (workers_.empty() && (stopping_ || next_ == jobs_.size()))
                break;
            readWorkers();
            tellEnds();  // before further jobs start
        }
        tellEnds();
        return outcome;
    }

private:
    void followCancel(SupervisedRun& outcome)
    {
        if (outcome.cancelled || !observer_.cancelRequested())
            return;
        outcome.cancelled = stopping_ = true;
        for (Worker& worker : workers_) {
            if (!worker.job)
                continue;
            worker.cancelSent = true;
            writeChannel(worker.process.channel, cancelCommandLine());
        }
    }

    std::list<Worker>::iterator idleWorker()
    {
        return std::find_if(workers_.begin(), workers_.end(), [](const Worker& worker) { return !worker.job; });
    }

    // Workers no job waits for end (their input ends).
    void retireIdleWorkers()
    {
        for (auto worker = idleWorker(); worker != workers_.end(); worker = idleWorker()) {
            waitForChildEnd(worker->process);
            workers_.erase(worker);
        }
    }

    void start(size_t index)
    {
        const PlannedJob& job = jobs_[index];
        if (job.skip) {
            JobEnd end;
            end.skipped = true;
            end.outputPath = job.outputPath;
            ends_[index] = end;
            return;
        }
        auto worker = idleWorker();
        if (worker == workers_.end()) {
            worker = workers_.emplace(workers_.end());
            if (!startChildProcess(program_, {}, worker->process)) {
                workers_.erase(worker);
                worker = workers_.end();
            }
        }
        if (worker == workers_.end()) {
            JobEnd end;
            end.code = VKO_ERROR_CONVERTER_STOPPED;
            end.detail = "the converter " + program_ + " cannot be started";
            end.outputPath = job.outputPath;
            endJob(index, end);
            return;
        }
        worker->job = index;
        worker->previewOn = worker->cancelSent = false;
        writeChannel(worker->process.channel, workerJobLine(job.rows, run_.outputFolder, job.outputName,
                                                            settings_.previewWidth, settings_.previewHeight));
        observer_.jobStarted(static_cast<int>(index), worker->process.id, job.outputPath);
    }

    void endJob(size_t index, const JobEnd& end)
    {
        ends_[index] = end;
        if (end.code != 0 && !end.cancelled && settings_.stopOnError)
            stopping_ = true;
    }

    bool started(size_t index) const { return index < next_; }

    // The ends that are due, in job order, each after its job was shown.
    void tellEnds()
    {
        while (front_ < jobs_.size() && started(front_)) {
            const int index = static_cast<int>(front_);
            if (!shown_) {
                observer_.jobShown(index, jobs_[front_].outputPath);
                shown_ = true;
            }
            if (!ends_[front_])
                return;
            observer_.jobEnded(index, *ends_[front_]);
            ++front_;
            shown_ = false;
        }
    }

    // Pictures come from the front job's worker only, while the observer wants them.
    void followPreview()
    {
        const bool wanted = settings_.previewWidth > 0 && observer_.previewWanted();
        for (Worker& worker : workers_) {
            if (!worker.job)
                continue;
            const bool on = wanted && *worker.job == front_ && jobs_[*worker.job].video;
            if (on != worker.previewOn && !worker.cancelSent) {
                worker.previewOn = on;
                writeChannel(worker.process.channel, previewCommandLine(on));
            }
        }
    }

    void readWorkers()
    {
        std::vector<int> channels;
        for (const Worker& worker : workers_)
            channels.push_back(worker.process.channel);
        const std::vector<size_t> ready = readableChannels(channels, kPollMs);
        auto worker = workers_.begin();
        for (size_t i = 0; worker != workers_.end(); ++i) {
            const bool isReady = std::find(ready.begin(), ready.end(), i) != ready.end();
            if (isReady && !readWorker(*worker)) {
                finish(*worker);
                worker = workers_.erase(worker);
            } else {
                ++worker;
            }
        }
    }

    // False when the worker's output has ended.
    bool readWorker(Worker& worker)
    {
        char buffer[65536];
        const long got = readChannel(worker.process.channel, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        worker.reader.append(buffer, static_cast<size_t>(got));
        while (std::optional<WorkerEvent> event = worker.reader.next())
            relay(worker, *event);
        return true;
    }

    void relay(Worker& worker, WorkerEvent& event)
    {
        if (!worker.job)
            return;
        const size_t job = *worker.job;
        const int index = static_cast<int>(job);
        switch (event.kind) {
        case WorkerEvent::Kind::Progress:
            observer_.jobProgress(index, event.seconds);
            break;
        case WorkerEvent::Kind::Picture:
            if (job == front_)
                observer_.jobPicture(index, event.pixels.data(), event.width, event.height);
            break;
        case WorkerEvent::Kind::Result: {
            JobEnd end;
            static_cast<WorkerResult&>(end) = std::move(event.result);
            end.cancelled = worker.cancelSent;
            worker.job.reset();
            endJob(job, end);
            break;
        }
        case WorkerEvent::Kind::Unknown:
            break;
        }
    }

    // The worker's output has ended: a worker that still had a job has crashed.
    void finish(Worker& worker)
    {
        const ChildEnd ended = waitForChildEnd(worker.process);
        if (!worker.job)
            return;
        JobEnd end;
        end.code = VKO_ERROR_CONVERTER_STOPPED;
        end.detail = stoppedWorkerDetail(ended.signal, ended.exitStatus);
        end.outputPath = jobs_[*worker.job].outputPath;
        end.cancelled = worker.cancelSent;
        // Nothing the crashed worker began stays behind.
        const std::string partial = localFilePath(partialPathFor(end.outputPath));
        if (!end.outputPath.empty() && !partialFileInUse(partial))
            std::remove(partial.c_str());
        endJob(*worker.job, end);
    }

    const ConversionRun& run_;
    const SupervisorSettings& settings_;
    SupervisorObserver& observer_;
    const std::vector<PlannedJob> jobs_;
    std::vector<std::optional<JobEnd>> ends_;  // by job index
    const std::string program_;
    std::list<Worker> workers_;  // the running ones
    size_t next_ = 0;            // the next job to start
    size_t front_ = 0;           // the first job whose end is not told
    bool shown_ = false;         // the front job was shown
    bool stopping_ = false;      // no further job starts
};

} // namespace

SupervisedRun superviseRun(const ConversionRun& run, const SupervisorSettings& settings, SupervisorObserver& observer)
{
    return Supervisor(run, settings, observer).run();
}

std::string workerProgramPath()
{
    const std::string folder = runningProgramFolder();
    const std::string beside = folder + kWorkerName;
    if (fileExists(beside))
        return beside;
    return folder + "../lib/corvane-clipwright/" + kWorkerName;
}

std::string stoppedWorkerDetail(int signal, int exitStatus)
{
    return signal != 0 ? "the converter stopped unexpectedly (signal " + std::to_string(signal) + ")"
                       : "the converter stopped unexpectedly (exit status " + std::to_string(exitStatus) + ")";
}
