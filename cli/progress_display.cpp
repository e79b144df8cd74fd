#include "progress_display.h"

#include "console.h"
#include "json_text.h"
#include "language.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

struct ProgressFigures {
    double percent = -1;     // -1 when the job's length is unknown
    double speed = 0;        // media seconds per real second; 0 while unknown
    double secondsLeft = -1; // -1 while unknown
};

// mediaSeconds of totalSeconds converted in wallSeconds.
ProgressFigures progressFigures(double mediaSeconds, double totalSeconds, double wallSeconds)
{
    ProgressFigures figures;
    mediaSeconds = std::max(0.0, mediaSeconds);
    if (totalSeconds > 0)
        figures.percent = std::min(100.0, mediaSeconds * 100.0 / totalSeconds);
    if (wallSeconds >= 0.5 && mediaSeconds > 0) {
        figures.speed = mediaSeconds / wallSeconds;
        if (totalSeconds > 0)
            figures.secondsLeft = std::max(0.0, totalSeconds - mediaSeconds) / figures.speed;
    }
    return figures;
}

// "1:05" or "1:02:03".
std::string clockText(double seconds)
{
    const long long whole = std::llround(std::max(0.0, seconds));
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

std::string fileNameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string inputsText(const JobDescription& job)
{
    std::string text = fileNameOf(job.inputs.front());
    if (job.inputs.size() > 1)
        text += " + " + std::to_string(job.inputs.size() - 1) + " more";
    return text;
}

std::string counterText(const JobDescription& job)
{
    return "[" + std::to_string(job.index + 1) + "/" + std::to_string(job.count) + "] ";
}

std::string figuresText(const ProgressFigures& figures, double mediaSeconds)
{
    char text[96];
    int length = figures.percent >= 0 ? std::snprintf(text, sizeof text, "%3.0f%%", figures.percent)
                                      : std::snprintf(text, sizeof text, "%s converted", clockText(mediaSeconds).c_str());
    if (figures.speed > 0)
        length += std::snprintf(text + length, sizeof text - static_cast<size_t>(length), "  %.1fx real time",
                                figures.speed);
    if (figures.secondsLeft >= 0)
        std::snprintf(text + length, sizeof text - static_cast<size_t>(length), "  %s left",
                      clockText(figures.secondsLeft).c_str());
    return text;
}

const char* stateText(const JobResult& result)
{
    return result.error.code != 0 ? "failed"
           : result.skipped       ? "skipped, the output exists"
           : result.cancelled     ? "cancelled"
                                  : "done";
}

std::string failureText(const JobDescription& job, const JobResult& result)
{
    return inputsText(job) + ": " + engineErrorText(result.error);
}

// "warning: clip.mp4: …" on the error stream, one line each.
void printWarnings(const JobDescription& job, const JobResult& result)
{
    for (const std::string& warning : result.warnings)
        printError(localized("warning") + ": " + inputsText(job) + ": " + warning);
}

// Only the outputs of finished jobs, failures on the error stream.
class QuietDisplay : public ProgressDisplay {
public:
    void jobStarted(const JobDescription&) override {}
    void progress(const JobDescription&, double, double) override {}
    void jobFinished(const JobDescription& job, const JobResult& result) override
    {
        if (result.error.code != 0)
            printError(failureText(job, result));
        else if (!result.skipped)
            printOut(job.output + (result.cancelled ? " (" + localized("cancelled") + ")\n" : "\n"));
        printWarnings(job, result);
    }
    void runFinished(int, bool cancelled) override
    {
        if (cancelled)
            printError(localized("cancelled"));
    }
};

// Plain lines for pipes and files: a start line and progress at most once a second on the error
// stream, a result line on the standard output.
class PlainDisplay : public QuietDisplay {
public:
    void jobStarted(const JobDescription& job) override
    {
        printStatus(counterText(job) + inputsText(job) + " -> " + job.output + "\n");
        lastLine_ = -1;
    }
    void progress(const JobDescription& job, double mediaSeconds, double wallSeconds) override
    {
        if (lastLine_ >= 0 && wallSeconds - lastLine_ < 1.0)
            return;
        lastLine_ = wallSeconds;
        printStatus(counterText(job) + figuresText(progressFigures(mediaSeconds, job.seconds, wallSeconds), mediaSeconds) + "\n");
    }
    void jobFinished(const JobDescription& job, const JobResult& result) override
    {
        if (result.error.code == 0)
            printOut(counterText(job) + localized(stateText(result)) + ": " + job.output + "\n");
        else
            printError(failureText(job, result));
        printWarnings(job, result);
    }

private:
    double lastLine_ = -1;
};

// Columns of the terminal, 80 when it does not say.
size_t terminalWidth()
{
    winsize size{};
    return ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

// text cut to at most columns characters, never inside a UTF-8 sequence.
std::string cutToColumns(const std::string& text, size_t columns)
{
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters++ == columns)
            return text.substr(0, i);
    }
    return text;
}

// One line per job, redrawn in place.
class TerminalDisplay : public PlainDisplay {
public:
    void jobStarted(const JobDescription& job) override { draw(job, "starting"); }
    void progress(const JobDescription& job, double mediaSeconds, double wallSeconds) override
    {
        draw(job, figuresText(progressFigures(mediaSeconds, job.seconds, wallSeconds), mediaSeconds));
    }
    void jobFinished(const JobDescription& job, const JobResult& result) override
    {
        draw(job, localized(stateText(result)));
        printOut(result.error.code == 0 ? "\n  " + job.output + "\n" : "\n");
        if (result.error.code != 0)
            printError(failureText(job, result));
        printWarnings(job, result);
    }

private:
    static void draw(const JobDescription& job, const std::string& state)
    {
        const std::string line = counterText(job) + inputsText(job) + " -> " + fileNameOf(job.output) + "  " + state;
        printOut("\r" + cutToColumns(line, terminalWidth() - 1) + "\033[K");
    }
};

class JsonDisplay : public ProgressDisplay {
public:
    void jobStarted(const JobDescription& job) override
    {
        emit(event("job-start", job).addJson("inputs", stringArray(job.inputs)).add("output", job.output).add("seconds", job.seconds));
    }
    void progress(const JobDescription& job, double mediaSeconds, double wallSeconds) override
    {
        if (lastEvent_ >= 0 && wallSeconds - lastEvent_ < 0.5)
            return;
        lastEvent_ = wallSeconds;
        const ProgressFigures figures = progressFigures(mediaSeconds, job.seconds, wallSeconds);
        JsonObject object = event("progress", job);
        object.add("time", mediaSeconds);
        if (figures.percent >= 0)
            object.add("percent", figures.percent);
        emit(object.add("speed", figures.speed).add("secondsLeft", figures.secondsLeft));
    }
    void jobFinished(const JobDescription& job, const JobResult& result) override
    {
        lastEvent_ = -1;
        JsonObject object = event("job-end", job);
        object.add("output", job.output)
            .add("status", result.error.code)
            .add("cancelled", result.cancelled)
            .add("skipped", result.skipped);
        if (result.error.code != 0)
            object.add("message", result.error.message).add("detail", result.error.detail);
        if (!result.warnings.empty())
            object.addJson("warnings", stringArray(result.warnings));
        emit(object);
    }
    void runFinished(int, bool) override {}

private:
    static JsonObject event(const char* name, const JobDescription& job)
    {
        JsonObject object;
        object.add("event", name).add("job", job.index).add("jobs", job.count);
        return object;
    }
    static void emit(const JsonObject& object) { printOut(object.text() + "\n"); }
    static std::string stringArray(const std::vector<std::string>& texts)
    {
        std::vector<std::string> items;
        for (const std::string& text : texts)
            items.push_back(jsonString(text));
        return jsonArray(items);
    }

    double lastEvent_ = -1;
};

} // namespace

std::unique_ptr<ProgressDisplay> makeProgressDisplay(ReportStyle style, bool terminal)
{
    switch (style) {
    case ReportStyle::Quiet:
        return std::make_unique<QuietDisplay>();
    case ReportStyle::Json:
        return std::make_unique<JsonDisplay>();
    case ReportStyle::Normal:
        break;
    }
    if (terminal)
        return std::make_unique<TerminalDisplay>();
    return std::make_unique<PlainDisplay>();
}
