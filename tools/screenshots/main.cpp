// Renders every window of the program, in every skin and both languages, into PNG files.
//
//   clipwright_screenshots <output folder>
//
// Runs offscreen with a settings store in a temporary folder, so the user's settings stay as
// they are. The job list gets a few sample rows so that its columns can be judged. On a real X
// server (QT_QPA_PLATFORM=xcb, e.g. under xvfb-run) the menus and the profile picker are also
// shown over the main window and taken from the screen as the X server draws them.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>

#include "job_rows.h"

#include "app_settings.h"
#include "application_windows.h"
#include "choice_combo.h"
#include "choice_objects.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "job_list_view.h"
#include "profile_combobox.h"

namespace {

// Two sound and two subtitle tracks, as a film with a dubbed track has them.
void addSampleStreams(NodeData& row)
{
    const struct {
        int32_t kind, number;
        const char* codec;
        const char* language;
        const char* title;
    } streams[] = {{VKO_STREAM_AUDIO, 1, "aac", "eng", "English"}, {VKO_STREAM_AUDIO, 2, "ac3", "deu", "Deutsch"},
                   {VKO_STREAM_SUBTITLE, 1, "subrip", "fre", "Francais"}, {VKO_STREAM_SUBTITLE, 2, "ass", "eng", ""}};
    for (const auto& sample : streams) {
        MediaStreamInfo stream{};
        stream.kind = sample.kind;
        stream.number = sample.number;
        std::snprintf(stream.codecName, sizeof stream.codecName, "%s", sample.codec);
        std::snprintf(stream.language, sizeof stream.language, "%s", sample.language);
        std::snprintf(stream.title, sizeof stream.title, "%s", sample.title);
        stream.channels = sample.kind == VKO_STREAM_AUDIO ? 2 : 0;
        stream.sampleRate = sample.kind == VKO_STREAM_AUDIO ? 48000 : 0;
        stream.isDefault = sample.number == 1 ? 1 : 0;
        row.streams.push_back(stream);
    }
    row.settings.tracks = {2, 1};
}

void addSampleRows(TfrmMain& main)
{
    const struct {
        const char* path;
        double seconds;
    } rows[] = {{"/videos/holiday_2024.mp4", 761}, {"/videos/interview-take3.mov", 2882},
                {"/videos/concert_highlights.mkv", 3917}};
    ProfileSettingInfo profile{};
    if (const ProfileSelectObject* chosen = main.picker()->currentProfile())
        profile = profileSettingInfoOf(*chosen);
    for (const auto& row : rows) {
        MediaFileInfo info{};
        std::snprintf(info.path, sizeof info.path, "%s", row.path);
        info.durationSeconds = row.seconds;
        info.durationWholeSeconds = static_cast<int32_t>(row.seconds);
        main.jobs().addProbedFile(info, profile);
    }
    addSampleStreams(main.jobs().row(0));
    main.jobs().select(0);
    main.jobList()->showRows(main.jobs());
    main.jobList()->show();
}

// The screen around the main window while a pop-up of it is open.
bool renderPopup(TfrmMain& main, const std::function<void()>& open, QWidget* popup, const QString& file)
{
    main.show();
    open();
    for (int turn = 0; turn < 20; ++turn)
        QTest::qWait(20);
    QRect area = main.frameGeometry();
    if (popup->isWindow())
        area |= popup->frameGeometry();
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    popup->hide();
    std::printf("%s\n", qPrintable(file));
    return screen.save(file);
}

// The File, Edit and Help menus, the list's context menu and the open profile picker.
bool renderPopups(TfrmMain& main, const QString& stem)
{
    const auto under = [](const char* button) {
        // Clicked as the user does, so the menu opens the way the program opens it.
        return [button](TfrmMain& window, QMenu*) {
            QTest::mouseClick(window.findChild<ImageButton*>(QLatin1String(button)), Qt::LeftButton);
        };
    };
    bool ok = true;
    const std::pair<QMenu*, std::function<void(TfrmMain&, QMenu*)>> menus[] = {
        {main.fileMenu(), under("File_img")}, {main.helpMenu(), under("Help_img")},
        {main.editMenu(), [](TfrmMain& window, QMenu* menu) {
             menu->popup(window.jobList()->viewport()->mapToGlobal(QPoint(120, 40)));
         }}};
    for (const auto& [menu, open] : menus)
        ok &= renderPopup(main, [&, menu = menu, open = open] { open(main, menu); }, menu,
                          stem + QLatin1Char('_') + menu->objectName() + QStringLiteral(".png"));
    ok &= renderPopup(main, [&] { main.picker()->showDropDown(); }, main.picker()->panel(),
                      stem + QStringLiteral("_ProfilePicker.png"));
    return ok;
}

void fillConstChoices(QComboBox* combo, std::initializer_list<std::pair<ChoiceValue, const char*>> entries)
{
    std::vector<ComboboxSelectObject*> objects;
    int id = 0;
    for (const auto& [value, textId] : entries) {
        objects.push_back(new I18nConstSelectObject(id++, value, textId, textId));
    }
    fillChoiceCombo(combo, objects, 0);
}

// The edit window loaded with a sample job: 720 x 576, zoomed to full with a custom size.
void loadSampleEditJob(ApplicationWindows& windows)
{
    static NodeData row;
    static ProfileSettingInfo profile{};
    std::snprintf(row.fileInfo.path, sizeof row.fileInfo.path, "holiday_2024.mp4");
    row.fileInfo.width = 720;
    row.fileInfo.height = 576;
    row.fileInfo.durationWholeSeconds = 761;
    std::snprintf(profile.format, sizeof profile.format, "avi");
    row.settings.owner = &row;
    row.settings.profile = &profile;
    row.settings.trim = {12, 617};
    row.settings.crop = {8, 8, 16, 16, "full", 1, "640", "512"};
    row.settings.effect.brightness = 20;
    windows.edit.editJob(row.settings, {&row.settings});
    windows.edit.hide();
}

// The parameter dialog holding the first sample job with the general H.264 profile, as the set
// command opens it.
void bindSampleParameters(ApplicationWindows& windows)
{
    const VKOComboboxInfo* node = windows.main.picker()->catalogue().findByValue("MP4 video (H.264)");
    if (node == nullptr || node->object->valueType() != kChoiceText)
        return;
    const auto* profile = static_cast<const ProfileSelectObject*>(node->object.get());
    NodeData& row = windows.main.jobs().row(0);
    JobList::applyProfileToRow(row, profileSettingInfoOf(*profile));
    windows.parameters.bindJob(&row.settings, profile, {}, false);
    windows.parameters.showDialog();
    windows.parameters.hide();
}

void addSampleChoices(ApplicationWindows& windows)
{
    loadSampleEditJob(windows);
    fillConstChoices(windows.options.findChild<QComboBox*>(QStringLiteral("language_cmb")),
                     {{ChoiceValue::ofText("null"), "05020"}, {ChoiceValue::ofText("null"), "05022"}});
}

// The window as the user sees it: its picture cut to its rounded outline.
QImage windowPicture(QWidget* window)
{
    window->show();
    const QPixmap grabbed = window->grab();
    window->hide();
    QImage picture(grabbed.size(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(grabbed.devicePixelRatio());  // 2 under QT_SCALE_FACTOR=2
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    if (!window->mask().isEmpty()) {
        painter.setClipRegion(window->mask());
    }
    painter.drawPixmap(0, 0, grabbed);
    return picture;
}

// One picture per tab page for windows with tabs, else one picture.
bool renderWindow(SkinWindow* window, const QString& stem)
{
    auto* tabs = window->findChild<QTabWidget*>();
    if (tabs == nullptr) {
        std::printf("%s.png\n", qPrintable(stem));
        return windowPicture(window).save(stem + QStringLiteral(".png"));
    }
    bool ok = true;
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        const QString file = stem + QLatin1Char('_') + tabs->widget(page)->objectName() + QStringLiteral(".png");
        std::printf("%s\n", qPrintable(file));
        ok &= windowPicture(window).save(file);
    }
    tabs->setCurrentIndex(0);
    return ok;
}

bool renderAll(ApplicationWindows& windows, const QString& folder)
{
    bool ok = true;
    for (const auto& [index, info] : windows.options.skinList()) {
        switchSkin(QString::fromUtf8(info->descriptionPath), windows.skinSwitchOrder());
        for (const char* language : {"en_us", "zh_cn"}) {
            setI18nLanguage(QString::fromLatin1(language));
            applyI18nAll();
            windows.options.setCurrentSkin(QString::fromUtf8(info->descriptionPath));
            for (QComboBox* combo : {windows.options.findChild<QComboBox*>(QStringLiteral("language_cmb")),
                                     windows.edit.findChild<QComboBox*>(QStringLiteral("Crop_zoom")),
                                     windows.edit.findChild<QComboBox*>(QStringLiteral("Effect_cmb"))}) {
                relocaliseChoiceCombo(combo);
            }
            // The stream lines are written in the language of the moment the window is filled.
            windows.properties.showProperties(windows.main.jobs().row(0));
            windows.properties.hide();
            for (SkinWindow* window : windows.skinnedWindows()) {
                ok &= renderWindow(window, QStringLiteral("%1/%2_%3_%4")
                                               .arg(folder, QString::fromUtf8(info->englishName),
                                                    QString::fromLatin1(language), window->objectName()));
            }
            if (QGuiApplication::platformName() == QLatin1String("xcb"))
                ok &= renderPopups(windows.main, QStringLiteral("%1/%2_%3_TfrmMain").arg(
                                                     folder, QString::fromUtf8(info->englishName),
                                                     QString::fromLatin1(language)));
        }
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: clipwright_screenshots <output folder>\n");
        return 2;
    }
    applyProgramLook();
    QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    qputenv("XDG_DATA_HOME", QFile::encodeName(settingsFolder.path()));  // no saved job list is offered
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    ApplicationWindows windows(openSettingsStore());
    windows.main.show();
    windows.main.hideWebPanel();
    addSampleRows(windows.main);
    addSampleChoices(windows);
    bindSampleParameters(windows);
    return renderAll(windows, folder) ? 0 : 1;
}
