// The conversion progress window: preview picture, bars for the current job and the whole run,
// one result line per job, the time of the run, and what happens when the run ends.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

#include "conversion_run.h"
#include "conver_thread.h"
#include "merge_progress.h"
#include "skin_window.h"

class ImageButton;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class SystemShutdown;
struct JobOutcome;
class TfrmPlayer;

// What the window asks of the user and the desktop; tests put recording stand-ins here.
struct ConvertWindowDesktop {
    std::function<bool(QWidget* parent, const QString& title, const QString& question)> askYesNo;
    std::function<void(QWidget* parent, const QString& text)> tell;
    std::function<void(QWidget* parent, const QString& title, const QString& text)> warn;
    std::function<void(const QString& folder)> openFolder;
    SystemShutdown* shutdown = nullptr;
};

// Message boxes, the desktop's file browser and the computer's shutdown.
ConvertWindowDesktop realDesktop();

class TfrmConvert : public SkinWindow {
    Q_OBJECT
public:
    TfrmConvert();
    ~TfrmConvert() override;

    // The window the run is placed beside and restored with, and the host of the preview.
    void setCompanions(QWidget* mainWindow, TfrmPlayer* playerHost);
    void setDesktop(ConvertWindowDesktop desktop) { desktop_ = std::move(desktop); }
    // Milliseconds since the run started; by default the wall clock.
    void setRunClock(std::function<qint64()> elapsedMs) { elapsedMs_ = std::move(elapsedMs); }

    // Resets the window for the run, places it beside the main window, shows it modally and
    // starts the conversion thread.
    void startRun(ConversionRun run);
    bool isRunning() const { return running_; }
    // The source file (or files, of a merge) being converted.
    const QString& currentFile() const { return currentFile_; }

    QSize previewPanelSize() const { return previewSize_; }
    void reskin() override;
    void applySkinLayout() override;

    // Jobs of the last run by how they ended.
    struct RunCounts {
        int succeeded = 0, failed = 0, cutShort = 0, cancelled = 0;
        int leftTracksOut = 0;  // of the succeeded: jobs that did not write every source track
    };
    const RunCounts& runCounts() const { return counts_; }
    bool everyJobWell() const
    {
        return counts_.failed + counts_.cutShort + counts_.cancelled + counts_.leftTracksOut == 0;
    }

signals:
    // The run has ended: the window has hidden, or stays open when a job did not end well.
    void runEnded();
    // The window is hidden after a run.
    void closed();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void keepPreviewSize();
    void resetForRun(int totalSeconds);
    void placePlayer();
    void askCancel();
    void previewClicked(bool ticked);
    void showCurrentFile(int index);
    void showProgress(double timeSeconds);
    void showTimes(int doneSeconds);
    void addResultLine(int code, int index);
    void addCancelledLine(int index);
    void addNotConvertedLines();
    QString jobLine(int index, const QString& outcome) const;
    void appendResult(int index, const QString& outcome);
    void appendLine(const QString& line);
    void showResultLines();
    PreviewTarget previewTarget() const;
    // The tracks the job left out and a burn request without subtitles, as one line; empty when none.
    static QString trackNotesText(const JobOutcome& outcome);
    QString failureText(int code, int index) const;
    QString summaryText() const;
    void finishRun();
    void endWithSummary();
    void shutDownComputer();
    void fillBars();
    void hideAndTellClosed();

    QProgressBar* oneProgress_;
    QProgressBar* totalProgress_;
    QPlainTextEdit* showResult_;
    QCheckBox* preview_;
    QCheckBox* showPath_;
    QCheckBox* shutDown_;
    QWidget* playPanel_;
    ImageButton* cancel_;
    QLabel* timeInfo_;

    QPointer<QWidget> mainWindow_;
    QPointer<TfrmPlayer> playerHost_;
    ConvertWindowDesktop desktop_;

    ConversionRun run_;
    MergeProgress mergeProgress_;  // the running merge's time; GUI thread
    std::unique_ptr<ConverThread> thread_;
    bool running_ = false;
    RunCounts counts_;
    QStringList resultLines_;             // the told results and the summary; GUI thread
    std::map<int, int> runningPercents_;  // percent of each job running beside the one shown; GUI thread
    int resultJobs_ = 0;                  // jobs with a result line (they come in job order); GUI thread
    QString currentFile_;
    QElapsedTimer clock_;
    std::function<qint64()> elapsedMs_;
    QSize previewSize_;
};
