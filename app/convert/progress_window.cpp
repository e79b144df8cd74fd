#include "progress_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QUrl>

#include <cmath>
#include <cstdlib>

#include "conver_thread.h"
#include "fp_exceptions.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "named_widget.h"
#include "picture_box.h"
#include "player_host.h"
#include "skin_folder.h"
#include "system_shutdown.h"
#include "vkoMessageDll.h"
#include "vkoPlayerDll.h"
#include "window_events.h"

namespace {

// Reports of this many seconds or more are not positions (the engine's "no position yet" is far
// above it).
constexpr int kLargestReportedSeconds = 18000;
// Room the current file's name leaves for the percentage in its bar.
constexpr int kBarPercentWidth = 60;
// The time left is estimated once the run has converted this long.
constexpr qint64 kEstimateAfterMs = 2000;

QProgressBar* makeBar(QWidget* parent, const char* name)
{
    auto* bar = makeNamed<QProgressBar>(parent, name);
    bar->setTextVisible(true);
    bar->setFormat(QStringLiteral("%p%"));
    bar->setAlignment(Qt::AlignCenter);
    bar->setValue(0);
    return bar;
}

// A position outside the bar's range stops at its nearer end.
void setBar(QProgressBar* bar, int value)
{
    bar->setValue(qBound(bar->minimum(), value, bar->maximum()));
}

QString clockText(qint64 seconds)
{
    return QString::asprintf("%02lld:%02lld:%02lld", seconds / 3600, seconds % 3600 / 60, seconds % 60);
}

QString withoutBlanks(QString text)
{
    return text.remove(QLatin1Char(' '));
}

} // namespace

ConvertWindowDesktop realDesktop()
{
    ConvertWindowDesktop desktop;
    desktop.askYesNo = [](QWidget* parent, const QString& title, const QString& question) {
        return QMessageBox::question(parent, title, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    desktop.tell = [](QWidget* parent, const QString& text) {
        QMessageBox::information(parent, QApplication::applicationDisplayName(), text);
    };
    desktop.warn = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox::critical(parent, title, text);
    };
    desktop.openFolder = [](const QString& folder) { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); };
    desktop.shutdown = &systemShutdown();
    return desktop;
}

TfrmConvert::TfrmConvert() : SkinWindow({"convert", "convert/", QSize(427, 33)}), desktop_(realDesktop())
{
    setObjectName(QStringLiteral("TfrmConvert"));
    auto* background = makeNamed<PictureBox>(this, "BG_img");
    auto* close = makeNamed<ImageButton>(this, "close");
    auto* minimise = makeNamed<ImageButton>(this, "convert_mini");
    playPanel_ = makeNamed<QWidget>(this, "ConvertPlayPanel");
    auto* oneLabel = makeNamed<QLabel>(this, "OneLabel");
    oneProgress_ = makeBar(this, "OneProgress");
    auto* totalLabel = makeNamed<QLabel>(this, "TotalLabel");
    totalProgress_ = makeBar(this, "TotalProgress");
    showResult_ = makeNamed<QPlainTextEdit>(this, "ShowResult");
    showResult_->setReadOnly(true);
    preview_ = makeNamed<QCheckBox>(this, "Preview");
    preview_->setChecked(true);
    showPath_ = makeNamed<QCheckBox>(this, "ShowPath");
    shutDown_ = makeNamed<QCheckBox>(this, "ShutDown");
    cancel_ = makeNamed<ImageButton>(this, "cancel");
    timeInfo_ = makeNamed<QLabel>(this, "TimeInfo");
    timeInfo_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    createFromSkin();
    keepPreviewSize();
    setDragBackground(background);
    bindI18nRows(oneLabel, {{"Caption", "05031"}});
    bindI18nRows(totalLabel, {{"Caption", "05032"}});
    bindI18nRows(cancel_, {{"Caption", "00038"}, {"Hint", "00039"}});
    bindI18nRows(preview_, {{"Caption", "05023"}});
    bindI18nRows(showPath_, {{"Caption", "05024"}});
    bindI18nRows(shutDown_, {{"Caption", "05025"}});
    setDialogButtons(nullptr, cancel_);
    maskFloatingPointExceptions();
    connect(close, &ImageButton::clicked, this, &TfrmConvert::askCancel);
    connect(cancel_, &ImageButton::clicked, this, &TfrmConvert::askCancel);
    connect(preview_, &QCheckBox::clicked, this, &TfrmConvert::previewClicked);
    connect(minimise, &ImageButton::clicked, this, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible())
                window->showMinimized();
        }
    });
}

TfrmConvert::~TfrmConvert()
{
    // A run still converting when the program ends finishes its current output and stops.
    if (running_)
        conversionRunState().stop = 1;
    thread_.reset();
}

void TfrmConvert::setCompanions(QWidget* mainWindow, TfrmPlayer* playerHost)
{
    mainWindow_ = mainWindow;
    playerHost_ = playerHost;
}

void TfrmConvert::keepPreviewSize()
{
    if (const SkinItem* panel = skinItem(QStringLiteral("ConvertPlayPanel")))
        previewSize_ = QSize(panel->width, panel->height);
}

void TfrmConvert::reskin()
{
    SkinWindow::reskin();
    keepPreviewSize();
}

void TfrmConvert::applySkinLayout()
{
    SkinWindow::applySkinLayout();
    // The time of the run sits above the cancel button, beside the check boxes.
    const QRect cancel = cancel_->geometry();
    const int top = preview_->geometry().top();
    const int width = qMin(160, cancel.right() + 1);
    timeInfo_->setGeometry(cancel.right() + 1 - width, top, width, qMax(0, cancel.top() - top - 2));
}

void TfrmConvert::resetForRun(int totalSeconds)
{
    resultLines_.clear();
    runningPercents_.clear();
    resultJobs_ = 0;
    showResult_->clear();
    counts_ = {};
    oneProgress_->setMaximum(100);
    oneProgress_->setValue(0);
    oneProgress_->setFormat(QStringLiteral("%p%"));
    currentFile_.clear();
    totalProgress_->setMaximum(qMax(totalSeconds, 0));
    totalProgress_->setValue(0);
    timeInfo_->clear();
    conversionRunState().stop = 0;
}

void TfrmConvert::startRun(ConversionRun run)
{
    run_ = std::move(run);
    mergeProgress_ = MergeProgress::ofRows(run_.jobs);
    resetForRun(run_.totalSeconds);
    if (mainWindow_)
        move(mainWindow_->pos() + QPoint(210, 10));
    setWindowModality(Qt::ApplicationModal);
    show();
    placePlayer();
    thread_.reset();  // waits for the previous run's thread
    thread_ = std::make_unique<ConverThread>(run_, this, previewTarget());
    running_ = true;
    clock_.start();
    thread_->start();
}

PreviewTarget TfrmConvert::previewTarget() const
{
    PreviewTarget target;
    // Without a skin item for the panel, the panel as it stands.
    target.size = (previewSize_.isEmpty() ? playPanel_->size() : previewSize_) * devicePixelRatioF();
    if (TfrmPlayer* host = playerHost_.data())
        target.show = [host](const uint8_t* pixels, int width, int height) {
            TfrmPlayer::receivePicture(host, pixels, width, height);
        };
    return target;
}

void TfrmConvert::placePlayer()
{
    close_sdl();
    if (playerHost_)
        playerHost_->placeInto(playPanel_);
    initPanelPlayer(playPanel_, previewSize_);
}

bool TfrmConvert::event(QEvent* event)
{
    const auto type = static_cast<unsigned>(event->type());
    const auto* message = dynamic_cast<const WindowMessageEvent*>(event);
    if (message == nullptr)
        return SkinWindow::event(event);
    switch (type) {
    case MSG_CONVERT_PROGRESS: {
        auto* report = reinterpret_cast<ProgressReport*>(message->wParam());
        const double seconds = report->timeSeconds;
        std::free(report);
        showProgress(seconds);
        return true;
    }
    case MSG_JOB_FINISHED:
        addResultLine(static_cast<int32_t>(message->wParam()), static_cast<int>(message->lParam()));
        return true;
    case MSG_JOB_CANCELLED:
        addCancelledLine(static_cast<int>(message->lParam()));
        return true;
    case MSG_JOB_PERCENT:
        runningPercents_[static_cast<int>(message->lParam())] = static_cast<int>(message->wParam());
        showResultLines();
        return true;
    case MSG_ALL_FINISHED:
        finishRun();
        return true;
    case MSG_JOB_BAR_POSITION:
        setBar(oneProgress_, static_cast<int>(message->wParam()));
        return true;
    case MSG_JOB_BAR_MAXIMUM:
        oneProgress_->setMaximum(qMax(static_cast<int>(message->wParam()), 0));
        showCurrentFile(static_cast<int>(message->lParam()));
        return true;
    case MSG_PREVIEW_BOX:
        preview_->setChecked(message->wParam() != 0);
        preview_->setEnabled(message->lParam() != 0);
        return true;
    default:
        return SkinWindow::event(event);
    }
}

void TfrmConvert::showCurrentFile(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= run_.jobs.size())
        return;
    QStringList names;
    const size_t count = run_.merge ? run_.jobs.size() : 1;
    for (size_t i = static_cast<size_t>(index); i < static_cast<size_t>(index) + count; ++i) {
        const NodeData* row = run_.jobs[i]->owner;
        if (row != nullptr)
            names << QFileInfo(QString::fromLocal8Bit(row->fileInfo.path)).fileName();
    }
    currentFile_ = names.join(QStringLiteral(" + "));
    oneProgress_->setToolTip(currentFile_);
    const QString elided = oneProgress_->fontMetrics().elidedText(currentFile_, Qt::ElideMiddle,
                                                                  oneProgress_->width() - kBarPercentWidth);
    oneProgress_->setFormat(elided.isEmpty() ? QStringLiteral("%p%") : elided + QStringLiteral("  %p%"));
}

void TfrmConvert::showProgress(double timeSeconds)
{
    if (run_.merge && timeSeconds < kLargestReportedSeconds)
        timeSeconds = mergeProgress_.update(timeSeconds);
    const double whole = std::trunc(timeSeconds);
    if (!(whole < kLargestReportedSeconds))
        return;
    const int t = static_cast<int>(whole);
    if (run_.merge) {
        setBar(oneProgress_, t);
        setBar(totalProgress_, t);
        showTimes(t);
    } else {
        const int total = t + conversionRunState().totalOffset.load();
        setBar(oneProgress_, t);
        setBar(totalProgress_, total);
        showTimes(total);
    }
}

void TfrmConvert::showTimes(int doneSeconds)
{
    const qint64 elapsedMs = elapsedMs_ ? elapsedMs_() : clock_.elapsed();
    QString text = tr("Elapsed %1").arg(clockText(elapsedMs / 1000));
    if (!running_) {
        text += QLatin1Char('\n') + tr("Left %1").arg(clockText(0));
    } else if (elapsedMs >= kEstimateAfterMs && doneSeconds > 0) {
        const double mediaPerWall = doneSeconds / (elapsedMs / 1000.0);
        const double left = qMax(0, run_.totalSeconds - doneSeconds) / mediaPerWall;
        text += QLatin1Char('\n') + tr("Left %1").arg(clockText(static_cast<qint64>(std::ceil(left))));
    }
    timeInfo_->setText(text);
}

void TfrmConvert::addResultLine(int code, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= run_.jobs.size())
        return;
    if (code != 0) {
        ++counts_.failed;
        appendResult(index, failureText(code, index));
        return;
    }
    const JobOutcome outcome = thread_ ? thread_->outcome(index) : JobOutcome{};
    const OutputLength& length = outcome.length;
    const QString tracks = trackNotesText(outcome);
    const QString tracksAfter = tracks.isEmpty() ? QString() : QStringLiteral("; ") + tracks;
    if (length.shortened()) {
        ++counts_.cutShort;
        appendResult(index, i18nText("10026")
                                    .arg(length.writtenSeconds, 0, 'f', 1)
                                    .arg(length.expectedSeconds, 0, 'f', 1) +
                                tracksAfter);
        return;
    }
    if (!outcome.damage.empty()) {
        ++counts_.cutShort;
        appendResult(index, i18nText("10037").arg(QString::fromLocal8Bit(outcome.damage.c_str())) + tracksAfter);
        return;
    }
    ++counts_.succeeded;
    counts_.leftTracksOut += tracks.isEmpty() ? 0 : 1;
    appendResult(index, tracks.isEmpty() ? i18nText("10005") : i18nText("10060").arg(tracks));
}

QString TfrmConvert::trackNotesText(const JobOutcome& outcome)
{
    const TrackNotes& notes = outcome.tracks;
    const std::vector<std::string> kinds = {i18nText("10064").toStdString(), i18nText("10065").toStdString(),
                                            i18nText("10066").toStdString()};
    QStringList parts;
    for (const auto& [reason, id] : {std::pair{VKO_DROP_NOT_CHOSEN, "10061"}, std::pair{VKO_DROP_CONTAINER, "10062"}}) {
        const std::string dropped = notes.droppedText(reason, kinds, outcome.inputNames);
        if (!dropped.empty())
            parts << i18nText(id).arg(QString::fromStdString(dropped));
    }
    if (!notes.burnWithoutSubtitles.empty())
        parts << i18nText("10063").arg(QString::fromLocal8Bit(notes.burnWithoutSubtitles.c_str()));
    return parts.join(QStringLiteral("; "));
}

QString TfrmConvert::failureText(int code, int index) const
{
    QString outcome = QString::fromLocal8Bit(getErrorInfo(code, 0, 1));
    const std::string detail = thread_ ? thread_->outcome(index).detail : std::string();
    if (!detail.empty()) {
        if (outcome.endsWith(QLatin1Char('.')))
            outcome.chop(1);
        outcome += QStringLiteral(": ") + QString::fromLocal8Bit(detail.c_str());
    }
    return outcome;
}

void TfrmConvert::addCancelledLine(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= run_.jobs.size())
        return;
    const JobOutcome stopped = thread_ ? thread_->outcome(index) : JobOutcome{};
    appendResult(index, stopped.partialOutput
                            ? i18nText("10027").arg(QString::fromLocal8Bit(stopped.outputPath.c_str()))
                            : i18nText("10028"));
    ++counts_.cancelled;
}

// After a cancel: the jobs that never started.
void TfrmConvert::addNotConvertedLines()
{
    if (run_.merge)
        return;
    for (int next = resultJobs_; static_cast<size_t>(next) < run_.jobs.size(); ++next) {
        appendResult(next, i18nText("10029"));
        ++counts_.cancelled;
    }
}

QString TfrmConvert::jobLine(int index, const QString& outcome) const
{
    return QString::fromLocal8Bit(run_.jobs[static_cast<size_t>(index)]->outputName) + QStringLiteral(" --> ") +
           outcome;
}

void TfrmConvert::appendResult(int index, const QString& outcome)
{
    resultLines_ << jobLine(index, outcome);
    resultJobs_ = index + 1;
    runningPercents_.erase(index);
    showResultLines();
}

void TfrmConvert::appendLine(const QString& line)
{
    resultLines_ << line;
    showResultLines();
}

// The result lines, then a line with the percent of each job running beside the one shown.
void TfrmConvert::showResultLines()
{
    QStringList lines = resultLines_;
    for (const auto& [index, percent] : runningPercents_)
        lines << jobLine(index, QStringLiteral("%1%").arg(percent));
    showResult_->setPlainText(lines.join(QLatin1Char('\n')));
}

QString TfrmConvert::summaryText() const
{
    if (everyJobWell())
        return i18nText("10003");
    return i18nText("10030")
        .arg(counts_.succeeded)
        .arg(counts_.failed)
        .arg(counts_.cutShort)
        .arg(counts_.cancelled);
}

void TfrmConvert::askCancel()
{
    if (!running_) {
        close();
        return;
    }
    if (desktop_.askYesNo(this, QStringLiteral("Information"), QStringLiteral("Cancel Conversion?")))
        conversionRunState().stop = 1;
}

void TfrmConvert::previewClicked(bool ticked)
{
    conversionRunState().previewPermission = ticked ? 1 : 0;
}

void TfrmConvert::fillBars()
{
    oneProgress_->setValue(oneProgress_->maximum());
    totalProgress_->setValue(totalProgress_->maximum());
}

void TfrmConvert::finishRun()
{
    running_ = false;
    showTimes(run_.totalSeconds);
    if (conversionRunState().stop == 1) {
        // The window stays with its result lines: which jobs ended and which output is partial.
        fillBars();
        addNotConvertedLines();
        appendLine(summaryText());
        emit runEnded();
        return;
    }
    if (shutDown_->isChecked()) {
        shutDownComputer();
    } else {
        endWithSummary();
        if (!everyJobWell()) {
            emit runEnded();  // the window stays to say which jobs failed or came out short
            return;
        }
    }
    hideAndTellClosed();
    emit runEnded();
}

void TfrmConvert::endWithSummary()
{
    if (mainWindow_ && mainWindow_->isMinimized()) {
        // Skinned windows have a fixed size: bringing them back shows them as they were.
        mainWindow_->showNormal();
        showNormal();
        mainWindow_->move(200, 150);
        move(mainWindow_->pos() + QPoint(210, 10));
    }
    fillBars();
    desktop_.tell(this, summaryText());
    const QString folder = withoutBlanks(QString::fromLocal8Bit(run_.outputFolder.c_str()));
    if (showPath_->isChecked() && !folder.isEmpty())
        desktop_.openFolder(QString::fromLocal8Bit(run_.outputFolder.c_str()));
}

void TfrmConvert::shutDownComputer()
{
    if (!desktop_.shutdown->enableShutdownPrivilege()) {
        desktop_.warn(this, QStringLiteral("Shutdown Computer"), QStringLiteral("Fail to shutdown computer!"));
        return;
    }
    desktop_.shutdown->powerOff();
}

void TfrmConvert::hideAndTellClosed()
{
    close_sdl();
    hide();
    emit closed();
}

void TfrmConvert::closeEvent(QCloseEvent* event)
{
    // The window stays while a run converts; closing it asks to cancel instead.
    event->ignore();
    if (running_)
        askCancel();
    else if (isVisible())
        hideAndTellClosed();
}
