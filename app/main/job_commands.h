// The main window's job list commands: adding files and folders (chosen, dropped or restored),
// the Edit menu's list commands, renaming outputs in the list, and keeping the job list file.
#pragma once

#include <QObject>
#include <QStringList>
#include <deque>
#include <vector>

#include "job_list_store.h"
#include "main_controls.h"

class JobList;
class JobListView;
class QProgressDialog;
class QTimer;
class TfrmMain;
struct AppSettings;
struct SourceProbe;

class JobCommands : public QObject {
public:
    JobCommands(TfrmMain& window, JobList& jobs, JobListView* list, const MainButtons& buttons,
                const MainActions& actions, AppSettings& settings);
    ~JobCommands() override;

    void connectControls();

    // Adds files as "Add files" does (the files that cannot be added are named in one message once
    // adding has ended) and the files of a folder as "Add a folder" does (silently skipping). Both go
    // on in the background with a progress dialog; the window's sourcesAdded follows when nothing is
    // left to add.
    void addFiles(const QStringList& paths);
    void addFolder(const QString& folder);
    // Files or folders dropped from the file manager.
    void addDroppedPaths(const QStringList& paths);
    bool isAddingSources() const { return !pendingSources_.empty(); }

    // F2: edits the output name of the current row.
    void renameCurrentOutput();
    // Rewrites the list's texts from the rows (after a window changed a row).
    void refreshRowTexts();

    // Offers the saved job list of the last run, then writes the list every second when it changed.
    void offerJobListRestore();
    // Writes the job list to its file when it changed since the last write.
    void saveJobList();
    const QString& jobListFile() const { return jobListFile_; }

    // Where the open dialogs start: the folder last added from, else the user's videos or home.
    QString sourceFolder() const;
    // The open dialog's filter: one line per media family and one for every file.
    static QString sourceFilter();

protected:
    // While an output name is edited: characters a file name cannot hold are dropped.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One selection of files or one folder's files, added one file per turn of the event loop.
    struct PendingSources {
        QStringList paths;
        bool reportProblems;  // files: their problems are told once adding has ended
        int next = 0;
    };

    void connectMenuCommands();
    void connectListView();
    void showRows();
    void addNextSource();
    void addSource(const QString& path, bool reportProblems);
    // Why the file cannot be added (empty when it can); probe holds its description then.
    static QString sourceProblem(const QString& path, SourceProbe& probe);
    void finishSources();
    void restoreJobList(const std::vector<SavedJobRow>& rows);
    void onRenameAccepted(int index, const QString& text);
    void setRenameKeyFilter(bool on);

    TfrmMain& window_;
    JobList& jobs_;
    JobListView* list_;
    const MainButtons& buttons_;
    const MainActions& actions_;
    AppSettings& settings_;

    std::deque<PendingSources> pendingSources_;
    QTimer* sourceTimer_ = nullptr;
    QProgressDialog* sourceProgress_ = nullptr;
    QStringList sourceProblems_;  // "name: reason" of the chosen files not added so far
    QString jobListFile_;
    QTimer* jobListTimer_ = nullptr;
    QByteArray savedJobList_;  // what the job list file holds
    bool renameKeyFilterOn_ = false;
};
