#include "preview_commands.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#include <algorithm>

#include "app_settings.h"
#include "image_button.h"
#include "job_list.h"
#include "job_list_view.h"
#include "library_path.h"
#include "main_window.h"
#include "playback_route.h"
#include "player_host.h"
#include "skin_slider.h"

PreviewCommands::PreviewCommands(TfrmMain& window, JobList& jobs, JobListView* list, QWidget* panel,
                                 SkinSlider* trackBar, const MainButtons& buttons, AppSettings& settings)
    : QObject(&window), window_(window), jobs_(jobs), list_(list), panel_(panel), trackBar_(trackBar),
      buttons_(buttons), settings_(settings), preview_(playback::kMainOwner, &window),
      startVolume_(preview_.outputVolume())
{
}

void PreviewCommands::connectControls()
{
    connect(buttons_.play, &ImageButton::clicked, this, &PreviewCommands::playOrPause);
    connect(buttons_.stop, &ImageButton::pressed, this, &PreviewCommands::stopPressed);
    connect(buttons_.stop, &ImageButton::released, this, &PreviewCommands::stopReleased);
    connect(buttons_.prev, &ImageButton::clicked, this, &PreviewCommands::playPrevious);
    connect(buttons_.next, &ImageButton::clicked, this, &PreviewCommands::playNext);
    connect(trackBar_, &SkinSlider::sliderPressed, this, &PreviewCommands::sliderPressed);
    connect(trackBar_, &SkinSlider::sliderReleased, this, &PreviewCommands::sliderReleased);
    connect(buttons_.snap, &ImageButton::clicked, this, &PreviewCommands::takeSnapshot);
    connect(buttons_.snapFolder, &ImageButton::clicked, this, [this] {
        const QString folder = settings_.snapshotOutputDir.trimmed();
        if (!folder.isEmpty())
            QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    });
}

void PreviewCommands::setUpPreviewPlayer()
{
    preview_.attach(playerHost_, panel_, panel_->size());
}

void PreviewCommands::showPlayPicture()
{
    showPlayPicture(preview_.isPlaying());
}

void PreviewCommands::showPlayPicture(bool pause)
{
    window_.loadButtonPictures(buttons_.play, pause ? QStringLiteral("pause_img") : QStringLiteral("play_img"));
    buttons_.play->update();
}

void PreviewCommands::startPreviewOfSelectedRow()
{
    panel_->show();
    preview_.openAndPlay(jobs_.selectedRow()->fileInfo.path);
    showPlayPicture(true);
}

void PreviewCommands::playOrPause()
{
    if (jobs_.selectedRow() == nullptr)
        return;
    if (preview_.isPlaying()) {
        preview_.pause();
        showPlayPicture(false);
        return;
    }
    startPreviewOfSelectedRow();
}

void PreviewCommands::stopPressed()
{
    if (jobs_.selectedRow() == nullptr)
        return;
    preview_.stop();
}

void PreviewCommands::stopReleased()
{
    if (jobs_.selectedRow() == nullptr)
        return;
    showPlayPicture(false);
}

void PreviewCommands::playPrevious()
{
    if (jobs_.selectedRow() == nullptr)
        return;
    list_->setCurrentRow(std::max(0, jobs_.selectedIndex() - 1));
    startPreviewOfSelectedRow();
}

void PreviewCommands::playNext()
{
    if (jobs_.selectedRow() == nullptr)
        return;
    list_->setCurrentRow(std::min(jobs_.size() - 1, jobs_.selectedIndex() + 1));
    startPreviewOfSelectedRow();
}

void PreviewCommands::sliderPressed()
{
    if (jobs_.selectedRow() == nullptr || !preview_.isPlaying())
        return;
    preview_.beginSeek();
}

void PreviewCommands::sliderReleased()
{
    if (jobs_.selectedRow() == nullptr)
        return;
    if (!preview_.isPlaying()) {
        trackBar_->setValue(0);
        return;
    }
    if (trackBar_->value() == trackBar_->maximum())
        trackBar_->setValue(0);
    preview_.endSeek(trackBar_->value());
}

void PreviewCommands::playPosition(int currentSeconds)
{
    if (preview_.takeReport() && !trackBar_->isSliderDown())
        trackBar_->setValue(currentSeconds);
}

void PreviewCommands::rowSelected()
{
    preview_.stop();
    showPlayPicture(false);
    const NodeData* row = jobs_.selectedRow();
    if (row == nullptr)
        return;
    trackBar_->setRange(0, row->fileInfo.durationWholeSeconds);
    trackBar_->setValue(0);
}

void PreviewCommands::stopForConversion()
{
    preview_.stop();
    showPlayPicture(false);
    panel_->hide();
}

void PreviewCommands::handOverToEditWindow()
{
    preview_.stop();
    trackBar_->setValue(0);
    showPlayPicture(false);
    panel_->hide();
    preview_.send(PlayerCommand::Close);
}

void PreviewCommands::takeSnapshot()
{
    if (jobs_.selectedRow() == nullptr || !preview_.isPlaying())
        return;
    const QString folder = settings_.snapshotOutputDir;
    if (!QDir().mkpath(folder))
        return;
    const QString name = QString::asprintf("%05d%s", snapshotCounter_, snapshotExtension_.toUtf8().constData());
    preview_.capture(libraryPath(QDir(folder).filePath(name)));
    ++snapshotCounter_;
}

void PreviewCommands::setSnapshotOptions(const QString& extension, const QString& folder)
{
    snapshotExtension_ = extension;
    settings_.snapshotOutputDir = folder;
}

void PreviewCommands::restoreStartVolume() const
{
    preview_.send(PlayerCommand::OutputVolume, startVolume_);
}
