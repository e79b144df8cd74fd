#include "conversion_commands.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QUrl>

#include "app_settings.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "job_list.h"
#include "job_list_view.h"
#include "library_path.h"
#include "main_window.h"
#include "preview_commands.h"

ConversionCommands::ConversionCommands(TfrmMain& window, JobList& jobs, JobListView* list, PreviewCommands& preview,
                                       const MainButtons& buttons, AppSettings& settings)
    : window_(window), jobs_(jobs), list_(list), preview_(preview), buttons_(buttons), settings_(settings)
{
}

void ConversionCommands::connectControls()
{
    connect(buttons_.open, &ImageButton::clicked, this, &ConversionCommands::chooseOutputFolder);
    connect(buttons_.openPath, &ImageButton::clicked, this, [this] {
        const QString folder = window_.outputFolder();
        if (!folder.isEmpty())
            QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    });
    connect(buttons_.editFrm, &ImageButton::clicked, this, &ConversionCommands::openEditWindow);
    connect(buttons_.set, &ImageButton::clicked, this, [this] {
        if (NodeData* row = jobs_.selectedRow())
            emit window_.parametersRequested(&row->settings);
    });
    connect(buttons_.save, &ImageButton::clicked, this, [this] {
        if (NodeData* row = jobs_.selectedRow())
            emit window_.saveProfileRequested(&row->settings);
    });
    connect(buttons_.start, &ImageButton::clicked, this, &ConversionCommands::startConversion);
    connect(window_.applyToAll(), &QCheckBox::toggled, this, [this](bool ticked) {
        if (ticked)
            applyChosenProfileToAll();
    });
}

void ConversionCommands::applyChosenProfileToAll()
{
    jobs_.applyProfileToAll(window_.chosenProfileSettings());
    list_->refreshTexts(jobs_);
    if (jobs_.selectedRow() != nullptr)
        emit window_.applyToAllTicked();
}

void ConversionCommands::chooseOutputFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(&window_, QStringLiteral("Please Select Output folder."),
                                                             window_.outputFolder());
    if (folder.isEmpty())
        return;
    settings_.mediaOutputDir = folder;
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QDir::separator()))
        settings_.mediaOutputDir += QDir::separator();
    window_.showOutputFolder(settings_.mediaOutputDir);
}

void ConversionCommands::startConversion()
{
    const StartCheck check =
        jobs_.prepareConversion(libraryPath(window_.outputFolder()), window_.mergeIntoOne()->isChecked());
    const QString sourceName = QString::fromUtf8(check.sourceName.c_str());
    switch (check.outcome) {
    case StartOutcome::NoSelection:
        return;
    case StartOutcome::NoneChecked:
        window_.tell(i18nText("10004"));
        return;
    case StartOutcome::NotVideo:
        window_.tell(sourceName + QStringLiteral(" is not a video file!"));
        return;
    case StartOutcome::NotAudio:
        window_.tell(sourceName + QStringLiteral(" is not an audio file!"));
        return;
    case StartOutcome::Ready:
        break;
    }
    preview_.stopForConversion();
    const QString folder = QString::fromUtf8(check.run.outputFolder.c_str());
    settings_.mediaOutputDir = folder;
    window_.showOutputFolder(folder);
    if (!QDir().mkpath(folder))
        return;
    ConversionRun run = check.run;
    run.workers = settings_.conversionsAtOnce;
    emit window_.conversionRequested(run);
}

void ConversionCommands::openEditWindow()
{
    NodeData* row = jobs_.selectedRow();
    if (row == nullptr)
        return;
    preview_.handOverToEditWindow();
    emit window_.editRequested(&row->settings);
}
