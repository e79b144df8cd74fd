#include "job_commands.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTimer>
#include <functional>

#include "app_settings.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "job_list.h"
#include "job_list_view.h"
#include "library_path.h"
#include "main_window.h"
#include "message_question.h"

namespace {

// The file patterns of the open-file dialog, by media family.
const char* const kVideoPatterns =
    "*.mp4 *.m4v *.mkv *.avi *.mov *.wmv *.asf *.flv *.3gp *.3g2 *.mpg *.mpeg *.vob *.ts *.m2ts *.webm *.rm *.rmvb *.ogv";
const char* const kAudioPatterns = "*.mp3 *.wav *.m4a *.aac *.ac3 *.aiff *.aif *.amr *.flac *.wma *.mp2 *.mka *.ogg *.opus";

// Characters a file name cannot hold, discarded while an output name is edited.
const QString kForbiddenNameCharacters = QStringLiteral("\"*/:<>?\\|");

// How often the job list is compared with its saved copy and written when it changed.
constexpr int kJobListSaveMs = 1000;

// How long adding goes on before the progress dialog appears.
constexpr int kProgressDelayMs = 400;

} // namespace

JobCommands::JobCommands(TfrmMain& window, JobList& jobs, JobListView* list, const MainButtons& buttons,
                         const MainActions& actions, AppSettings& settings)
    : window_(window), jobs_(jobs), list_(list), buttons_(buttons), actions_(actions), settings_(settings)
{
    sourceTimer_ = new QTimer(this);
    sourceTimer_->setSingleShot(true);
    connect(sourceTimer_, &QTimer::timeout, this, &JobCommands::addNextSource);
    jobListFile_ = jobListFilePath();
    jobListTimer_ = new QTimer(this);
    jobListTimer_->setInterval(kJobListSaveMs);
    connect(jobListTimer_, &QTimer::timeout, this, &JobCommands::saveJobList);
}

JobCommands::~JobCommands()
{
    // An editor still open commits when the window goes; the rows are gone by then.
    disconnect(list_, nullptr, this, nullptr);
    setRenameKeyFilter(false);
}

void JobCommands::connectControls()
{
    connectMenuCommands();
    connectListView();
}

void JobCommands::connectMenuCommands()
{
    const auto addChosenFiles = [this] {
        const QStringList paths = QFileDialog::getOpenFileNames(&window_, QString(), sourceFolder(), sourceFilter());
        if (paths.isEmpty())
            return;
        settings_.lastSourceDir = QFileInfo(paths.front()).absolutePath();
        addFiles(paths);
    };
    connect(actions_.loadFile, &QAction::triggered, this, addChosenFiles);
    connect(buttons_.add, &ImageButton::clicked, this, addChosenFiles);
    connect(actions_.loadFolder, &QAction::triggered, this, [this] {
        const QString folder =
            QFileDialog::getExistingDirectory(&window_, QStringLiteral("Please Select folder."), sourceFolder());
        if (folder.isEmpty())
            return;
        settings_.lastSourceDir = folder;
        addFolder(folder);
    });
    const auto listCommand = [this](QAction* action, std::function<bool(JobList&)> operation) {
        connect(action, &QAction::triggered, this, [this, operation = std::move(operation)] {
            if (operation(jobs_))
                showRows();
        });
    };
    const auto checkCommand = [this](QAction* action, bool checked) {
        connect(action, &QAction::triggered, this, [this, checked] {
            if (jobs_.setAllChecked(checked))
                list_->refreshTexts(jobs_);
        });
    };
    checkCommand(actions_.checkAll, true);
    checkCommand(actions_.uncheckAll, false);
    listCommand(actions_.deleteNode, &JobList::deleteSelected);
    listCommand(actions_.moveUp, &JobList::moveSelectedUp);
    listCommand(actions_.moveDown, &JobList::moveSelectedDown);
    connect(actions_.clearAll, &QAction::triggered, this, [this] {
        if (jobs_.clearAll()) {
            showRows();
            list_->hide();
        }
    });
    connect(actions_.properties, &QAction::triggered, this, [this] {
        if (NodeData* row = jobs_.selectedRow())
            emit window_.propertiesRequested(row);
    });
}

void JobCommands::connectListView()
{
    connect(list_, &JobListView::customContextMenuRequested, this,
            [this](const QPoint& at) { window_.editMenu()->popup(list_->viewport()->mapToGlobal(at)); });
    connect(list_, &JobListView::checkChanged, this, [this](int index, bool checked) { jobs_.setChecked(index, checked); });
    connect(list_, &JobListView::rowDropped, this, [this](int target) {
        if (jobs_.dropSelectedOn(target))
            showRows();
    });
    connect(list_, &JobListView::pathsDropped, this, &JobCommands::addDroppedPaths);
    connect(list_, &JobListView::renameAccepted, this, &JobCommands::onRenameAccepted);
    connect(list_, &JobListView::editEnded, this, [this] {
        setRenameKeyFilter(false);
        list_->refreshTexts(jobs_);
    });
    connect(list_, &JobListView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == JobListView::kDestinationColumn) {
            list_->editDestination(index.row());
            setRenameKeyFilter(true);
        } else {
            setRenameKeyFilter(false);
        }
    });
}

void JobCommands::renameCurrentOutput()
{
    if (list_->currentRow() < 0)
        return;
    list_->editDestination(list_->currentRow());
    setRenameKeyFilter(true);
}

QString JobCommands::sourceFolder() const
{
    if (!settings_.lastSourceDir.isEmpty() && QFileInfo(settings_.lastSourceDir).isDir())
        return settings_.lastSourceDir;
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    return QFileInfo(videos).isDir() ? videos : QDir::homePath();
}

QString JobCommands::sourceFilter()
{
    const QString video = QString::fromLatin1(kVideoPatterns);
    const QString audio = QString::fromLatin1(kAudioPatterns);
    return QStringLiteral("%1 (%2 %3);;%4 (%2);;%5 (%3);;%6 (*)")
        .arg(i18nText("10031"), video, audio, i18nText("10032"), i18nText("10033"), i18nText("10034"));
}

void JobCommands::addFiles(const QStringList& paths)
{
    pendingSources_.push_back({paths, true});
    if (!sourceTimer_->isActive())
        sourceTimer_->start(0);
}

void JobCommands::addFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return;
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted)) {
        if (name.size() > 2)
            paths << dir.filePath(name);
    }
    pendingSources_.push_back({paths, false});
    if (!sourceTimer_->isActive())
        sourceTimer_->start(0);
}

void JobCommands::addDroppedPaths(const QStringList& paths)
{
    QStringList files;
    for (const QString& path : paths) {
        if (QFileInfo(path).isDir()) {
            if (!files.isEmpty())
                addFiles(files);
            files.clear();
            addFolder(path);
        } else {
            files << path;
        }
    }
    if (!files.isEmpty())
        addFiles(files);
}

void JobCommands::addNextSource()
{
    if (pendingSources_.empty())
        return;
    PendingSources& batch = pendingSources_.front();
    if (sourceProgress_ == nullptr) {
        sourceProgress_ = new QProgressDialog(&window_);
        sourceProgress_->setWindowModality(Qt::WindowModal);
        sourceProgress_->setMinimumDuration(kProgressDelayMs);
        sourceProgress_->setAutoReset(false);
        sourceProgress_->setAutoClose(false);
    }
    if (batch.next == 0) {
        sourceProgress_->setRange(0, static_cast<int>(batch.paths.size()));
        sourceProgress_->setValue(0);
    }
    if (sourceProgress_->wasCanceled()) {
        pendingSources_.clear();
        finishSources();
        return;
    }
    if (batch.next < batch.paths.size())
        addSource(batch.paths.value(batch.next++), batch.reportProblems);
    sourceProgress_->setValue(batch.next);
    if (batch.next >= batch.paths.size()) {
        pendingSources_.pop_front();
        finishSources();
        return;
    }
    sourceTimer_->start(0);
}

void JobCommands::addSource(const QString& path, bool reportProblems)
{
    SourceProbe probe;
    const QString problem = sourceProblem(path, probe);
    if (!problem.isEmpty()) {
        // A folder holds all kinds of files: only chosen files are worth a word.
        if (reportProblems)
            sourceProblems_ << QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), problem);
        return;
    }
    jobs_.addProbedFile(probe.info, window_.chosenProfileSettings());
    list_->appendRow(jobs_);
    list_->show();
    window_.hideWebPanel();
}

QString JobCommands::sourceProblem(const QString& path, SourceProbe& probe)
{
    if (static_cast<size_t>(path.size()) > kMaxSourcePathLength)
        return i18nText("10022");
    if (!QFileInfo(path).isFile())
        return i18nText("10023");
    probe = probeSourceFile(libraryPath(path));
    if (probe.result != 0)
        return i18nText("10024");
    return probe.supported() ? QString() : i18nText("10025");
}

void JobCommands::finishSources()
{
    if (!jobs_.empty())
        list_->setCurrentRow(0);
    if (!pendingSources_.empty()) {
        sourceTimer_->start(0);
        return;
    }
    sourceProgress_->reset();
    sourceProgress_->hide();
    // The problems are told once the progress box has gone, so nothing covers the message.
    if (!sourceProblems_.isEmpty()) {
        const QString text = i18nText("10021") + QLatin1Char('\n') + sourceProblems_.join(QLatin1Char('\n'));
        sourceProblems_.clear();
        window_.tell(text);
    }
    emit window_.sourcesAdded();
}

void JobCommands::refreshRowTexts()
{
    list_->refreshTexts(jobs_);
}

void JobCommands::showRows()
{
    list_->showRows(jobs_);
}

void JobCommands::onRenameAccepted(int index, const QString& text)
{
    if (index < 0 || index >= jobs_.size())
        return;
    switch (jobs_.renameOutput(jobs_.row(index), text.toStdString())) {
    case RenameOutcome::TooLong:
        window_.tell(QStringLiteral("The name is too long."));
        break;
    case RenameOutcome::NotNumbered:
        window_.tell(QStringLiteral("The name is taken by a file whose number cannot be read: choose another name."));
        break;
    case RenameOutcome::Renamed:
    case RenameOutcome::Empty:
        break;
    }
    list_->refreshTexts(jobs_);
}

void JobCommands::setRenameKeyFilter(bool on)
{
    if (on == renameKeyFilterOn_)
        return;
    renameKeyFilterOn_ = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool JobCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (widget != nullptr && widget->window() == &window_ && typed.size() == 1 &&
            kForbiddenNameCharacters.contains(typed))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void JobCommands::offerJobListRestore()
{
    QFile file(jobListFile_);
    std::vector<SavedJobRow> rows;
    if (file.open(QIODevice::ReadOnly))
        rows = jobListFromJson(file.readAll());
    if (rows.empty()) {
        jobListTimer_->start();
        return;
    }
    // The saved list stays as it is until the answer: the timer starts after it.
    askQuestion(&window_, i18nText("10035").arg(rows.size()), [this, rows](bool yes) {
        if (yes)
            restoreJobList(rows);
        saveJobList();
        jobListTimer_->start();
    });
}

void JobCommands::restoreJobList(const std::vector<SavedJobRow>& rows)
{
    const QStringList gone = restoreJobRows(jobs_, rows);
    if (!jobs_.empty()) {
        showRows();
        list_->show();
        window_.hideWebPanel();
        list_->setCurrentRow(0);
    }
    if (!gone.isEmpty())
        window_.tell(i18nText("10036") + QLatin1Char('\n') + gone.join(QLatin1Char('\n')));
}

void JobCommands::saveJobList()
{
    const QByteArray data = jobListToJson(jobs_);
    if (data != savedJobList_ && writeJobListFile(jobListFile_, data, jobs_.empty()))
        savedJobList_ = data;
}
