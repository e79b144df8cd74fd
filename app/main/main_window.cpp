#include "main_window.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QProgressDialog>
#include <QMouseEvent>
#include <QPainterPath>
#include <QShowEvent>
#include <QSizeGrip>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include "host_address.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "job_list_store.h"
#include "job_list_view.h"
#include "message_question.h"
#include "message_box.h"
#include "named_event.h"
#include "named_widget.h"
#include "picture_box.h"
#include "playback_route.h"
#include "player_host.h"
#include "popup_menu.h"
#include "profile_combobox.h"
#include "seam_stretch.h"
#include "skin_catalogue.h"
#include "skin_folder.h"
#include "skin_slider.h"
#include "vkoPlayerDll.h"
#include "window_events.h"

namespace {

const SkinWindowSpec kMainSpec{"main", "main/", QSize(850, 32)};

// The file patterns of the open-file dialog, by media family.
const char* const kVideoPatterns =
    "*.mp4 *.m4v *.mkv *.avi *.mov *.wmv *.asf *.flv *.3gp *.3g2 *.mpg *.mpeg *.vob *.ts *.m2ts *.webm *.rm *.rmvb *.ogv";
const char* const kAudioPatterns = "*.mp3 *.wav *.m4a *.aac *.ac3 *.aiff *.aif *.amr *.flac *.wma *.mp2 *.mka *.ogg *.opus";

// Characters a file name cannot hold, discarded while an output name is edited.
const QString kForbiddenNameCharacters = QStringLiteral("\"*/:<>?\\|");


// The profile a first start offers (no last profile stored).
const char* const kFirstStartProfile = "MP4 video (H.264)";

// How often the job list is compared with its saved copy and written when it changed.
constexpr int kJobListSaveMs = 1000;

// Where the main window's skin picture is widened and heightened when the window is larger than
// it: lines that are plain in both skins (near the list's inner edge, in the preview beside or
// below its picture, never through the title).
const std::vector<int> kSeamColumns = {540, 740};
const std::vector<int> kSeamRows = {250};
// Where the window's size and place are kept.
const char* const kGeometryKey = "main_geometry";

// How long adding goes on before the progress dialog appears.
constexpr int kProgressDelayMs = 400;

// How long a slider press or release waits for the position reports still in flight.
constexpr std::chrono::milliseconds kPlayEventWait(100);

QAction* addNamedAction(QMenu* menu, const char* name)
{
    QAction* action = menu->addAction(QString::fromLatin1(name));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QString withSeparator(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

bool makeFolder(const QString& folder)
{
    return QDir().mkpath(folder);
}

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

}  // namespace

TfrmMain::TfrmMain(std::unique_ptr<QSettings> store) : SkinWindow(kMainSpec), store_(std::move(store))
{
    setObjectName(QStringLiteral("TfrmMain"));
    setWindowTitle(QApplication::applicationDisplayName());
    settings_ = readAppSettings(*store_, defaultSkinPath());
    loadCurrentSkin(settings_.skin);
    createControls();
    createFromSkin();
    makeResizable();
    setUpWebPanel();
    nodeTree_->hide();
    profilePanel_->hide();
    keepVisibilityOnSkinSwitch({nodeTree_, playPanel_, profilePanel_});
    applyToAll_->setChecked(false);
    outputPath_->setText(settings_.mediaOutputDir);
    setDragBackground(background_);
    savedVolume_ = getOutputVolume();
    loadI18nFolder();
    bindTexts();
    connectCommands();
    setI18nLanguage(settings_.language);
    offerManual();
    playEvent_ = NamedEvent::open("Play", true);
    playback::setListener(playback::kMainOwner, this, &isSeeking_);
    sourceTimer_ = new QTimer(this);
    sourceTimer_->setSingleShot(true);
    connect(sourceTimer_, &QTimer::timeout, this, &TfrmMain::addNextSource);
    jobListFile_ = jobListFilePath();
    jobListTimer_ = new QTimer(this);
    jobListTimer_->setInterval(kJobListSaveMs);
    connect(jobListTimer_, &QTimer::timeout, this, &TfrmMain::saveJobList);
    setMessageSink(nullptr);
}

TfrmMain::~TfrmMain()
{
    // An editor still open commits when the window goes; the rows are gone by then.
    disconnect(nodeTree_, nullptr, this, nullptr);
    playback::setListener(playback::kMainOwner, nullptr, nullptr);
    setRenameKeyFilter(false);
}

void TfrmMain::makeResizable()
{
    background_->setSeams(kSeamColumns, kSeamRows);
    setMinimumSize(skinSize());
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    sizeGrip_ = new QSizeGrip(this);
    sizeGrip_->resize(sizeGrip_->sizeHint());
    background_->installEventFilter(this);
    restoreGeometry(store_->value(QLatin1String(kGeometryKey)).toByteArray());
}

void TfrmMain::applySkinLayout()
{
    SkinWindow::applySkinLayout();
    stretchControls();
}

void TfrmMain::stretchControls()
{
    const QSize extra = size() - skinSize();
    if (extra.width() < 0 || extra.height() < 0)
        return;
    const SeamStretch across(kSeamColumns, extra.width());
    const SeamStretch down(kSeamRows, extra.height());
    const QWidget* const growing[] = {background_, nodeTree_, webBrowse_, playPanel_, trackBar_};
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const SkinItem* item = control->objectName().isEmpty() ? nullptr : skinItem(control->objectName());
        if (item == nullptr)
            continue;
        const QRect skin(item->left, item->top, item->width, item->height);
        if (std::find(std::begin(growing), std::end(growing), control) != std::end(growing)) {
            control->setGeometry(QRect(QPoint(across.map(skin.left()), down.map(skin.top())),
                                       QPoint(across.map(skin.right()), down.map(skin.bottom()))));
        } else {
            // Buttons and fields keep their size and move with their centre.
            const QPoint centre = skin.center();
            control->move(skin.left() + across.map(centre.x()) - centre.x(),
                          skin.top() + down.map(centre.y()) - centre.y());
        }
    }
    if (sizeGrip_ != nullptr) {
        sizeGrip_->move(width() - sizeGrip_->width(), height() - sizeGrip_->height());
        sizeGrip_->raise();
    }
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    SkinWindow::resizeEvent(event);
    stretchControls();
    if (isMaximized() || isFullScreen()) {
        clearMask();
    } else {
        QPainterPath outline;
        outline.addRoundedRect(QRectF(rect()), skinCorner().width() / 2.0, skinCorner().height() / 2.0);
        setMask(QRegion(outline.toFillPolygon().toPolygon()));
    }
    if (picker_ != nullptr)
        picker_->placePanel();
    if (shownOnce_ && !playing_)
        setUpPreviewPlayer();
}

void TfrmMain::createControls()
{
    background_ = makeNamed<PictureBox>(this, "BG_img");
    buttons_.close = makeNamed<ImageButton>(this, "close");
    buttons_.leftClose = makeNamed<ImageButton>(this, "Left_close");
    buttons_.mini = makeNamed<ImageButton>(this, "mini_img");
    buttons_.leftMini = makeNamed<ImageButton>(this, "Left_mini");
    buttons_.file = makeNamed<ImageButton>(this, "File_img");
    buttons_.edit = makeNamed<ImageButton>(this, "Edit_img");
    buttons_.help = makeNamed<ImageButton>(this, "Help_img");
    createJobList();
    webBrowse_ = makeNamed<QFrame>(this, "WebBrowse");
    webBrowse_->setAutoFillBackground(true);
    webBrowse_->setBackgroundRole(QPalette::Base);
    createToolbarButtons();
    createPlayerControls();
    createOutputControls();
    createMenus();
}

void TfrmMain::createJobList()
{
    nodeTree_ = makeNamed<JobListView>(this, "NodeTree");
    nodeTree_->setContextMenuPolicy(Qt::CustomContextMenu);
    setAcceptDrops(true);
}

void TfrmMain::createToolbarButtons()
{
    buttons_.add = makeNamed<ImageButton>(this, "add_img");
    buttons_.addMenu = makeNamed<ImageButton>(this, "Add_menu_img");
    buttons_.editFrm = makeNamed<ImageButton>(this, "EditFrm_img");
    buttons_.option = makeNamed<ImageButton>(this, "option_img");
    buttons_.start = makeNamed<ImageButton>(this, "Start_img");
    buttons_.set = makeNamed<ImageButton>(this, "set_img");
    buttons_.save = makeNamed<ImageButton>(this, "save_img");
    buttons_.open = makeNamed<ImageButton>(this, "Open_img");
    buttons_.openPath = makeNamed<ImageButton>(this, "Open_path_img");
    buttons_.profile = makeNamed<ImageButton>(this, "mcmbProfile");
    profilePanel_ = makeNamed<QFrame>(this, "suiImagePanel1");
    profilePanel_->setFrameShape(QFrame::StyledPanel);
    profilePanel_->setAutoFillBackground(true);
    categoryList_ = makeNamed<QTreeWidget>(profilePanel_, "vstProfileCategory");
    profileList_ = makeNamed<QTreeWidget>(profilePanel_, "vstProfileList");
    categoryList_->setHeaderHidden(true);
    profileList_->setHeaderHidden(true);
    profilePanel_->hide();
}

void TfrmMain::createPlayerControls()
{
    playPanel_ = makeNamed<QWidget>(this, "MainPlayPanel");
    trackBar_ = makeNamed<SkinSlider>(this, "MainTrackBar");
    buttons_.play = makeNamed<ImageButton>(this, "play_img");
    buttons_.stop = makeNamed<ImageButton>(this, "stop_img");
    buttons_.prev = makeNamed<ImageButton>(this, "prev_img");
    buttons_.next = makeNamed<ImageButton>(this, "Next_img");
    buttons_.snap = makeNamed<ImageButton>(this, "snap_img");
    buttons_.snapFolder = makeNamed<ImageButton>(this, "snapfolder_img");
}

void TfrmMain::createOutputControls()
{
    profileLabel_ = makeNamed<QLabel>(this, "Lab_profile");
    pathLabel_ = makeNamed<QLabel>(this, "Lab_path");
    outputPath_ = makeNamed<QLineEdit>(this, "OutputPath");
    outputPath_->setReadOnly(true);
    applyToAll_ = makeNamed<QCheckBox>(this, "Main_apply");
    merge_ = makeNamed<QCheckBox>(this, "Main_merge");
}

void TfrmMain::createMenus()
{
    fileMenu_ = makeOpaquePopupMenu(this, "FileMenu");
    actions_.loadFile = addNamedAction(fileMenu_, "LoadFile");
    actions_.loadFolder = addNamedAction(fileMenu_, "LoadFolder");
    fileMenu_->addSeparator();
    actions_.exit = addNamedAction(fileMenu_, "Exit");
    editMenu_ = makeOpaquePopupMenu(this, "EditMenu");
    actions_.checkAll = addNamedAction(editMenu_, "CheckAll");
    actions_.uncheckAll = addNamedAction(editMenu_, "UncheckAll");
    actions_.clearAll = addNamedAction(editMenu_, "ClearAll");
    actions_.properties = addNamedAction(editMenu_, "Properties");
    actions_.deleteNode = addNamedAction(editMenu_, "deletenode");
    actions_.moveUp = addNamedAction(editMenu_, "moveup");
    actions_.moveDown = addNamedAction(editMenu_, "movedown");
    helpMenu_ = makeOpaquePopupMenu(this, "HelpMenu");
    actions_.help = addNamedAction(helpMenu_, "Help");
    actions_.support = addNamedAction(helpMenu_, "Support");
    actions_.homepage = addNamedAction(helpMenu_, "Homepage");
    actions_.about = addNamedAction(helpMenu_, "About");
    actions_.update = addNamedAction(helpMenu_, "update");
}

void TfrmMain::setUpWebPanel()
{
    if (settings_.autoShowWeb != 1 || !hasNetworkAddress()) {
        hideWebPanel();
    }
}

void TfrmMain::hideWebPanel()
{
    webBrowse_->resize(0, 0);
    webBrowse_->hide();
}

void TfrmMain::bindTexts()
{
    bindI18nComponent("NodeTree", nodeTree_);
    bindI18nColumns(nodeTree_, 3001);
    const std::pair<QAction*, const char*> menuItems[] = {
        {actions_.loadFile, "02001"},   {actions_.loadFolder, "02002"}, {actions_.exit, "02003"},
        {actions_.checkAll, "02004"},   {actions_.uncheckAll, "02005"}, {actions_.clearAll, "02006"},
        {actions_.properties, "02013"}, {actions_.deleteNode, "02015"}, {actions_.moveUp, "02017"},
        {actions_.moveDown, "02018"},   {actions_.help, "02009"},       {actions_.support, "02010"},
        {actions_.homepage, "02011"},   {actions_.about, "02012"},      {actions_.update, "02014"}};
    for (const auto& [action, id] : menuItems) {
        bindI18nRows(action, {{"Caption", id}});
    }
    bindImageButtons();
    bindI18nRows(profileLabel_, {{"Caption", "04001"}});
    bindI18nRows(pathLabel_, {{"Caption", "04002"}});
    bindI18nRows(applyToAll_, {{"Caption", "05026"}});
    bindI18nRows(merge_, {{"Caption", "05030"}});
    bindI18nComponent("mcmbProfile", buttons_.profile, [this](const std::string&, QObject*) {
        if (picker_ != nullptr)
            picker_->refresh();
    });
}

void TfrmMain::bindImageButtons()
{
    const struct {
        ImageButton* button;
        const char* normal;
        const char* hot;
        const char* down;
        const char* hint;
    } pictured[] = {{buttons_.file, "00014", "00015", nullptr, "00017"},
                    {buttons_.edit, "00018", "00019", nullptr, "00021"},
                    {buttons_.help, "00022", "00023", nullptr, "00025"},
                    {buttons_.start, "00010", "00011", "00012", "00013"},
                    {buttons_.add, "00056", "00057", "00058", "00059"},
                    {buttons_.addMenu, "00060", "00061", "00062", "00063"},
                    {buttons_.option, "00032", "00033", "00034", "00035"},
                    {buttons_.editFrm, "00047", "00048", "00049", "00050"}};
    for (const auto& entry : pictured) {
        const std::string name = entry.button->objectName().toStdString();
        bindI18nRows(entry.button, {{"PicNormal", entry.normal}, {"PicMouseOn", entry.hot}});
        if (entry.down != nullptr) {
            setI18nProperty(name, "PicMouseDown", entry.down);
        }
        setI18nProperty(name, "Hint", entry.hint);
    }
    for (const auto& [button, id] : {std::pair{buttons_.save, "00051"}, std::pair{buttons_.set, "00052"},
                                     std::pair{buttons_.openPath, "00040"}}) {
        bindI18nRows(button, {{"Caption", id}, {"Hint", id}});
    }
    for (const auto& [button, id] :
         {std::pair{buttons_.play, "00026"}, std::pair{buttons_.stop, "00027"}, std::pair{buttons_.prev, "00028"},
          std::pair{buttons_.next, "00029"}, std::pair{buttons_.snap, "00030"},
          std::pair{buttons_.snapFolder, "00031"}}) {
        bindI18nRows(button, {{"Hint", id}});
    }
}

void TfrmMain::connectCommands()
{
    const auto popUnder = [this](ImageButton* source, QMenu* menu) {
        connect(source, &ImageButton::clicked, this,
                [source, menu] { menu->popup(source->mapToGlobal(QPoint(0, source->height()))); });
    };
    popUnder(buttons_.file, fileMenu_);
    popUnder(buttons_.edit, editMenu_);
    popUnder(buttons_.help, helpMenu_);
    connect(buttons_.addMenu, &ImageButton::clicked, this, [this] { fileMenu_->popup(QCursor::pos()); });
    for (ImageButton* button : {buttons_.close, buttons_.leftClose}) {
        connect(button, &ImageButton::clicked, this, &TfrmMain::closeWritingSettings);
    }
    for (ImageButton* button : {buttons_.mini, buttons_.leftMini}) {
        connect(button, &ImageButton::clicked, this, &TfrmMain::showMinimized);
    }
    connect(actions_.exit, &QAction::triggered, this, &TfrmMain::exitWritingSettings);
    connect(buttons_.option, &ImageButton::clicked, this, &TfrmMain::optionsRequested);
    connect(buttons_.open, &ImageButton::clicked, this, &TfrmMain::chooseOutputFolder);
    connect(buttons_.openPath, &ImageButton::clicked, this, [this] {
        if (!outputPath_->text().isEmpty())
            QDesktopServices::openUrl(QUrl::fromLocalFile(outputPath_->text()));
    });
    connectJobCommands();
    connectPlayerCommands();
    connectHelpCommands();
    connectJobListView();
    setUpKeyboard();
}

void TfrmMain::setUpKeyboard()
{
    const auto keys = [this](QAction* action, const QKeySequence& sequence) {
        action->setShortcut(sequence);
        addAction(action);
    };
    keys(actions_.loadFile, QKeySequence(Qt::CTRL | Qt::Key_O));
    keys(actions_.loadFolder, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    keys(actions_.checkAll, QKeySequence(Qt::CTRL | Qt::Key_A));
    keys(actions_.help, QKeySequence(Qt::Key_F1));
    // Delete belongs to the list: in the name editor it deletes characters.
    actions_.deleteNode->setShortcut(QKeySequence(Qt::Key_Delete));
    actions_.deleteNode->setShortcutContext(Qt::WidgetShortcut);
    nodeTree_->addAction(actions_.deleteNode);
    const auto command = [this](const QKeySequence& sequence, auto slot) {
        auto* action = new QAction(this);
        action->setShortcut(sequence);
        addAction(action);
        connect(action, &QAction::triggered, this, slot);
    };
    command(QKeySequence(Qt::Key_F2), [this] {
        if (nodeTree_->currentRow() < 0)
            return;
        nodeTree_->editDestination(nodeTree_->currentRow());
        setRenameKeyFilter(true);
    });
    command(QKeySequence(Qt::CTRL | Qt::Key_E), [this] { buttons_.editFrm->click(); });
    command(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { buttons_.set->click(); });
    command(QKeySequence(Qt::CTRL | Qt::Key_Return), [this] { buttons_.start->click(); });
    command(QKeySequence(Qt::CTRL | Qt::Key_Enter), [this] { buttons_.start->click(); });
    // The menus open under their title buttons with Alt and their first letter.
    command(QKeySequence(Qt::ALT | Qt::Key_F), [this] { buttons_.file->click(); });
    command(QKeySequence(Qt::ALT | Qt::Key_E), [this] { buttons_.edit->click(); });
    command(QKeySequence(Qt::ALT | Qt::Key_H), [this] { buttons_.help->click(); });
    for (ImageButton* title : {buttons_.close, buttons_.leftClose, buttons_.mini, buttons_.leftMini})
        title->setFocusPolicy(Qt::NoFocus);
    QWidget* const order[] = {buttons_.file,    buttons_.edit,   buttons_.help,     buttons_.add,   buttons_.addMenu,
                              buttons_.editFrm, buttons_.set,    buttons_.save,     buttons_.option, nodeTree_,
                              buttons_.profile, applyToAll_,     merge_,            outputPath_,    buttons_.open,
                              buttons_.openPath, buttons_.start, buttons_.play,     buttons_.stop,  buttons_.prev,
                              buttons_.next,    trackBar_,       buttons_.snap,     buttons_.snapFolder};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TfrmMain::connectJobCommands()
{
    const auto addChosenFiles = [this] {
        const QStringList paths = QFileDialog::getOpenFileNames(this, QString(), sourceFolder(), sourceFilter());
        if (paths.isEmpty())
            return;
        settings_.lastSourceDir = QFileInfo(paths.front()).absolutePath();
        addFiles(paths);
    };
    connect(actions_.loadFile, &QAction::triggered, this, addChosenFiles);
    connect(buttons_.add, &ImageButton::clicked, this, addChosenFiles);
    connect(actions_.loadFolder, &QAction::triggered, this, [this] {
        const QString folder =
            QFileDialog::getExistingDirectory(this, QStringLiteral("Please Select folder."), sourceFolder());
        if (folder.isEmpty())
            return;
        settings_.lastSourceDir = folder;
        addFolder(folder);
    });
    const auto listCommand = [this](QAction* action, bool (JobList::*operation)()) {
        connect(action, &QAction::triggered, this, [this, operation] {
            if ((jobs_.*operation)())
                showRows();
        });
    };
    connect(actions_.checkAll, &QAction::triggered, this, [this] {
        if (jobs_.setAllChecked(true))
            nodeTree_->refreshTexts(jobs_);
    });
    connect(actions_.uncheckAll, &QAction::triggered, this, [this] {
        if (jobs_.setAllChecked(false))
            nodeTree_->refreshTexts(jobs_);
    });
    listCommand(actions_.deleteNode, &JobList::deleteSelected);
    listCommand(actions_.moveUp, &JobList::moveSelectedUp);
    listCommand(actions_.moveDown, &JobList::moveSelectedDown);
    connect(actions_.clearAll, &QAction::triggered, this, [this] {
        if (jobs_.clearAll()) {
            showRows();
            nodeTree_->hide();
        }
    });
    connect(actions_.properties, &QAction::triggered, this,
            [this] { withSelectedRow([this](NodeData& row) { emit propertiesRequested(&row); }); });
    connect(buttons_.editFrm, &ImageButton::clicked, this, &TfrmMain::openEditWindow);
    connect(buttons_.set, &ImageButton::clicked, this,
            [this] { withSelectedRow([this](NodeData& row) { emit parametersRequested(&row.settings); }); });
    connect(buttons_.save, &ImageButton::clicked, this,
            [this] { withSelectedRow([this](NodeData& row) { emit saveProfileRequested(&row.settings); }); });
    connect(buttons_.start, &ImageButton::clicked, this, &TfrmMain::startConversion);
    connect(applyToAll_, &QCheckBox::toggled, this, [this](bool ticked) {
        if (ticked)
            applyChosenProfileToAll();
    });
}

void TfrmMain::connectPlayerCommands()
{
    connect(buttons_.play, &ImageButton::clicked, this, &TfrmMain::playOrPause);
    connect(buttons_.stop, &ImageButton::pressed, this, &TfrmMain::stopPressed);
    connect(buttons_.stop, &ImageButton::released, this, &TfrmMain::stopReleased);
    connect(buttons_.prev, &ImageButton::clicked, this, &TfrmMain::playPrevious);
    connect(buttons_.next, &ImageButton::clicked, this, &TfrmMain::playNext);
    connect(trackBar_, &SkinSlider::sliderPressed, this, &TfrmMain::sliderPressed);
    connect(trackBar_, &SkinSlider::sliderReleased, this, &TfrmMain::sliderReleased);
    connect(buttons_.snap, &ImageButton::clicked, this, &TfrmMain::takeSnapshot);
    connect(buttons_.snapFolder, &ImageButton::clicked, this, [this] {
        const QString folder = settings_.snapshotOutputDir.trimmed();
        if (!folder.isEmpty())
            QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    });
}

void TfrmMain::connectHelpCommands()
{
    connect(actions_.help, &QAction::triggered, this, [] {
        const QString manual = manualPath();
        if (QFileInfo::exists(manual))
            QDesktopServices::openUrl(QUrl::fromLocalFile(manual));
    });
    connect(actions_.about, &QAction::triggered, this, &TfrmMain::aboutRequested);
    connect(actions_.update, &QAction::triggered, this, &TfrmMain::startUpdater);
    // Items with nothing behind them are not offered: no support or home page is published yet.
    actions_.support->setVisible(false);
    actions_.homepage->setVisible(false);
    actions_.update->setVisible(QFileInfo(updaterPath()).isExecutable());
    connect(helpMenu_, &QMenu::aboutToShow, this, &TfrmMain::offerManual);
}

void TfrmMain::offerManual()
{
    actions_.help->setVisible(QFileInfo::exists(manualPath()));
}

QString TfrmMain::manualPath()
{
    return programFolder() + QStringLiteral("/lang/manual_") + getI18nLanguage() + QStringLiteral(".html");
}

void TfrmMain::connectJobListView()
{
    connect(nodeTree_, &JobListView::customContextMenuRequested, this,
            [this](const QPoint& at) { editMenu_->popup(nodeTree_->viewport()->mapToGlobal(at)); });
    connect(nodeTree_, &JobListView::checkChanged, this,
            [this](int index, bool checked) { jobs_.setChecked(index, checked); });
    connect(nodeTree_, &JobListView::rowSelected, this, &TfrmMain::onRowSelected);
    connect(nodeTree_, &JobListView::rowDropped, this, [this](int target) {
        if (jobs_.dropSelectedOn(target))
            showRows();
    });
    connect(nodeTree_, &JobListView::pathsDropped, this, &TfrmMain::addDroppedPaths);
    connect(nodeTree_, &JobListView::renameAccepted, this, &TfrmMain::onRenameAccepted);
    connect(nodeTree_, &JobListView::editEnded, this, [this] {
        setRenameKeyFilter(false);
        nodeTree_->refreshTexts(jobs_);
    });
    connect(nodeTree_, &JobListView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == JobListView::kDestinationColumn) {
            nodeTree_->editDestination(index.row());
            setRenameKeyFilter(true);
        } else {
            setRenameKeyFilter(false);
        }
    });
}

QString TfrmMain::sourceFolder() const
{
    if (!settings_.lastSourceDir.isEmpty() && QFileInfo(settings_.lastSourceDir).isDir())
        return settings_.lastSourceDir;
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    return QFileInfo(videos).isDir() ? videos : QDir::homePath();
}

QString TfrmMain::sourceFilter()
{
    const QString video = QString::fromLatin1(kVideoPatterns);
    const QString audio = QString::fromLatin1(kAudioPatterns);
    return QStringLiteral("%1 (%2 %3);;%4 (%2);;%5 (%3);;%6 (*)")
        .arg(i18nText("10031"), video, audio, i18nText("10032"), i18nText("10033"), i18nText("10034"));
}

void TfrmMain::tell(const QString& text)
{
    messageSink_(text);
}

void TfrmMain::setMessageSink(std::function<void(const QString&)> sink)
{
    if (!sink)
        sink = [this](const QString& text) { showPlainMessage(this, text); };
    messageSink_ = std::move(sink);
}

void TfrmMain::withSelectedRow(const std::function<void(NodeData&)>& command)
{
    if (NodeData* row = jobs_.selectedRow())
        command(*row);
}

QString TfrmMain::outputFolder() const
{
    return outputPath_->text();
}

ProfileSettingInfo TfrmMain::chosenProfileSettings() const
{
    const ProfileSelectObject* profile = picker_ == nullptr ? nullptr : picker_->currentProfile();
    return profile == nullptr ? ProfileSettingInfo{} : profileSettingInfoOf(*profile);
}

void TfrmMain::addFiles(const QStringList& paths)
{
    pendingSources_.push_back({paths, true});
    if (!sourceTimer_->isActive())
        sourceTimer_->start(0);
}

void TfrmMain::addFolder(const QString& folder)
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

void TfrmMain::addDroppedPaths(const QStringList& paths)
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

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    const QStringList paths = droppedPaths(*event);
    if (!paths.isEmpty()) {
        event->acceptProposedAction();
        addDroppedPaths(paths);
    }
}

void TfrmMain::addNextSource()
{
    if (pendingSources_.empty())
        return;
    PendingSources& batch = pendingSources_.front();
    if (sourceProgress_ == nullptr) {
        sourceProgress_ = new QProgressDialog(this);
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

void TfrmMain::addSource(const QString& path, bool reportProblems)
{
    SourceProbe probe;
    const QString problem = sourceProblem(path, probe);
    if (!problem.isEmpty()) {
        // A folder holds all kinds of files: only chosen files are worth a word.
        if (reportProblems)
            sourceProblems_ << QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), problem);
        return;
    }
    jobs_.addProbedFile(probe.info, chosenProfileSettings());
    nodeTree_->appendRow(jobs_);
    nodeTree_->show();
    hideWebPanel();
}

QString TfrmMain::sourceProblem(const QString& path, SourceProbe& probe)
{
    if (static_cast<size_t>(path.size()) > kMaxSourcePathLength)
        return i18nText("10022");
    if (!QFileInfo(path).isFile())
        return i18nText("10023");
    probe = probeSourceFile(localPath(path));
    if (probe.result != 0)
        return i18nText("10024");
    return probe.supported() ? QString() : i18nText("10025");
}

void TfrmMain::finishSources()
{
    if (!jobs_.empty())
        nodeTree_->setCurrentRow(0);
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
        tell(text);
    }
    emit sourcesAdded();
}

void TfrmMain::refreshRowTexts()
{
    nodeTree_->refreshTexts(jobs_);
}

void TfrmMain::showRows()
{
    nodeTree_->showRows(jobs_);
}

void TfrmMain::onRowSelected(int index)
{
    jobs_.select(index);
    isSeeking_ = true;
    stopPlay(1);
    playing_ = false;
    showPlayPicture(false);
    NodeData* row = jobs_.selectedRow();
    if (row == nullptr)
        return;
    if (picker_ != nullptr)
        picker_->selectValue(row->settings.profile);
    trackBar_->setRange(0, row->fileInfo.durationWholeSeconds);
    trackBar_->setValue(0);
}

void TfrmMain::onRenameAccepted(int index, const QString& text)
{
    if (index < 0 || index >= jobs_.size())
        return;
    switch (jobs_.renameOutput(jobs_.row(index), text.toStdString())) {
    case RenameOutcome::TooLong:
        tell(QStringLiteral("The name is too long."));
        break;
    case RenameOutcome::NotNumbered:
        tell(QStringLiteral("The name is taken by a file whose number cannot be read: choose another name."));
        break;
    case RenameOutcome::Renamed:
    case RenameOutcome::Empty:
        break;
    }
    nodeTree_->refreshTexts(jobs_);
}

void TfrmMain::setRenameKeyFilter(bool on)
{
    if (on == renameKeyFilterOn_)
        return;
    renameKeyFilterOn_ = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == background_ && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->position().y() < kMainSpec.dragStrip.height()) {
        if (isMaximized())
            showNormal();
        else
            showMaximized();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (widget != nullptr && widget->window() == this && typed.size() == 1 &&
            kForbiddenNameCharacters.contains(typed))
            return true;
    }
    return SkinWindow::eventFilter(watched, event);
}

void TfrmMain::applyChosenProfileToAll()
{
    jobs_.applyProfileToAll(chosenProfileSettings());
    nodeTree_->refreshTexts(jobs_);
    if (jobs_.selectedRow() != nullptr)
        emit applyToAllTicked();
}

void TfrmMain::chooseOutputFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Please Select Output folder."),
                                                             outputPath_->text());
    if (folder.isEmpty())
        return;
    settings_.mediaOutputDir = withSeparator(folder);
    outputPath_->setText(settings_.mediaOutputDir);
}

void TfrmMain::startConversion()
{
    const StartCheck check = jobs_.prepareConversion(localPath(outputPath_->text()), merge_->isChecked());
    const QString sourceName = QString::fromUtf8(check.sourceName.c_str());
    switch (check.outcome) {
    case StartOutcome::NoSelection:
        return;
    case StartOutcome::NoneChecked:
        tell(i18nText("10004"));
        return;
    case StartOutcome::NotVideo:
        tell(sourceName + QStringLiteral(" is not a video file!"));
        return;
    case StartOutcome::NotAudio:
        tell(sourceName + QStringLiteral(" is not an audio file!"));
        return;
    case StartOutcome::Ready:
        break;
    }
    playing_ = false;
    showPlayPicture(false);
    isSeeking_ = true;
    stopPlay(1);
    const QString folder = QString::fromUtf8(check.run.outputFolder.c_str());
    settings_.mediaOutputDir = folder;
    outputPath_->setText(folder);
    playPanel_->hide();
    if (!makeFolder(folder))
        return;
    ConversionRun run = check.run;
    run.workers = settings_.conversionsAtOnce;
    emit conversionRequested(run);
}

void TfrmMain::openEditWindow()
{
    NodeData* row = jobs_.selectedRow();
    if (row == nullptr)
        return;
    playing_ = false;
    trackBar_->setValue(0);
    showPlayPicture(false);
    isSeeking_ = true;
    stopPlay(1);
    playPanel_->hide();
    close_sdl();
    emit editRequested(&row->settings);
}

void TfrmMain::setUpPreviewPlayer()
{
    if (playerHost_ != nullptr)
        playerHost_->placeInto(playPanel_);
    setPlayerHandle(playback::progressSlot());
    initPanelPlayer(playPanel_, playPanel_->size());
    playback::setOwner(playback::kMainOwner);
}

void TfrmMain::showPlayPicture(bool pause)
{
    loadButtonPictures(buttons_.play, pause ? QStringLiteral("pause_img") : QStringLiteral("play_img"));
    buttons_.play->update();
}

void TfrmMain::startPreviewAt(NodeData& row, int seconds)
{
    playPanel_->show();
    openFile(row.fileInfo.path);
    startPlay(seconds);
    playing_ = true;
    showPlayPicture(true);
    isSeeking_ = false;
}

void TfrmMain::playOrPause()
{
    NodeData* row = jobs_.selectedRow();
    if (row == nullptr)
        return;
    if (playing_) {
        pausePlay();
        playing_ = false;
        showPlayPicture(false);
        isSeeking_ = false;
        return;
    }
    startPreviewAt(*row, 0);
}

void TfrmMain::stopPressed()
{
    if (jobs_.selectedRow() == nullptr)
        return;
    isSeeking_ = true;
    stopPlay(1);
}

void TfrmMain::stopReleased()
{
    if (jobs_.selectedRow() == nullptr)
        return;
    showPlayPicture(false);
    playing_ = false;
}

void TfrmMain::playPrevious()
{
    if (jobs_.selectedRow() == nullptr)
        return;
    nodeTree_->setCurrentRow(std::max(0, jobs_.selectedIndex() - 1));
    startPreviewAt(*jobs_.selectedRow(), 0);
}

void TfrmMain::playNext()
{
    if (jobs_.selectedRow() == nullptr)
        return;
    nodeTree_->setCurrentRow(std::min(jobs_.size() - 1, jobs_.selectedIndex() + 1));
    startPreviewAt(*jobs_.selectedRow(), 0);
}

void TfrmMain::sliderPressed()
{
    if (jobs_.selectedRow() == nullptr || !playing_)
        return;
    playEvent_->wait(kPlayEventWait);
    stopPlay(0);
    ++pendingSeeks_;
    isSeeking_ = true;
}

void TfrmMain::sliderReleased()
{
    if (jobs_.selectedRow() == nullptr)
        return;
    if (!playing_) {
        trackBar_->setValue(0);
        return;
    }
    if (trackBar_->value() == trackBar_->maximum())
        trackBar_->setValue(0);
    seekTarget_ = trackBar_->value();
    playEvent_->wait(kPlayEventWait);
    if (seekTarget_ != -1) {
        startPlay(seekTarget_);
        seekTarget_ = -1;
    }
    playEvent_->signal();
    isSeeking_ = false;
}

void TfrmMain::onPlayPosition(int, int currentSeconds)
{
    if (pendingSeeks_ > 0) {
        --pendingSeeks_;
        playEvent_->signal();
        return;
    }
    if (!trackBar_->isSliderDown())
        trackBar_->setValue(currentSeconds);
}

bool TfrmMain::event(QEvent* event)
{
    if (event->type() == static_cast<QEvent::Type>(MSG_MAIN_PLAY_POSITION)) {
        const auto* message = static_cast<WindowMessageEvent*>(event);
        onPlayPosition(static_cast<int>(message->wParam()), static_cast<int>(message->lParam()));
        return true;
    }
    return SkinWindow::event(event);
}

void TfrmMain::takeSnapshot()
{
    if (jobs_.selectedRow() == nullptr || !playing_)
        return;
    const QString folder = settings_.snapshotOutputDir;
    if (!makeFolder(folder))
        return;
    const QString name = QString::asprintf("%05d%s", snapshotCounter_, snapshotExtension_.toUtf8().constData());
    vkoCapture(localPath(withSeparator(folder) + name).c_str());
    ++snapshotCounter_;
}

QString TfrmMain::updaterPath()
{
#ifdef _WIN32
    return programFolder() + QStringLiteral("/Update/update.exe");
#else
    return programFolder() + QStringLiteral("/Update/update");
#endif
}

void TfrmMain::startUpdater()
{
    const QString program = updaterPath();
    if (!QFileInfo(program).isExecutable())
        return;
    QProcess::startDetached(program, {QStringLiteral("/SilentCheck"),
                                      QStringLiteral("/Lang:UpdateLang_") + getI18nLanguage() + QStringLiteral(".ini")});
}

void TfrmMain::closeWritingSettings()
{
    if (const ComboboxSelectObject* current = picker_ == nullptr ? nullptr : picker_->currentItem())
        settings_.lastProfile = QString::fromStdString(current->getString());
    writeSettingsAndClose(true);
}

void TfrmMain::exitWritingSettings()
{
    writeSettingsAndClose(false);
}

void TfrmMain::writeSettingsAndClose(bool closeButton)
{
    writeClosingSettings(*store_, settings_, closeButton);
    store_->setValue(QLatin1String(kGeometryKey), saveGeometry());
    store_->sync();
    if (closeButton)
        setOutputVolume(savedVolume_);
    close();
}

void TfrmMain::setSnapshotOptions(const QString& extension, const QString& folder)
{
    snapshotExtension_ = extension;
    settings_.snapshotOutputDir = folder;
}

void TfrmMain::setOptionFlags(int autoUpdate, int autoShowWeb)
{
    settings_.autoUpdate = autoUpdate;
    settings_.autoShowWeb = autoShowWeb;
}

void TfrmMain::reskin()
{
    SkinWindow::reskin();
    trackBar_->setFocus();
    showPlayPicture(playing_);
    hideWebPanel();
    if (picker_ != nullptr)
        picker_->placePanel();
}

void TfrmMain::createPicker()
{
    picker_ = std::make_unique<ProfileCombobox>(jobs_, applyToAll_, buttons_.profile, profilePanel_, categoryList_,
                                                profileList_, qApp, profileFolderPath());
    picker_->setImageLists(profilePickerIcons(20), profilePickerIcons(42));
    const std::string last =
        settings_.lastProfile.isEmpty() ? std::string(kFirstStartProfile) : settings_.lastProfile.toStdString();
    picker_->selectValueAndRefresh(last.c_str());
    connect(picker_.get(), &ProfileCombobox::rowsChanged, this, [this] { nodeTree_->refreshTexts(jobs_); });
}

void TfrmMain::showEvent(QShowEvent* event)
{
    SkinWindow::showEvent(event);
    if (shownOnce_) {
        return;
    }
    shownOnce_ = true;
    if (settings_.autoUpdate != 0)
        startUpdater();
    playPanel_->hide();
    applyI18nAll();
    setUpPreviewPlayer();
    createPicker();
    emit firstShown();
    offerJobListRestore();
}

void TfrmMain::offerJobListRestore()
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
    askQuestion(this, i18nText("10035").arg(rows.size()), [this, rows](bool yes) {
        if (yes)
            restoreJobList(rows);
        saveJobList();
        jobListTimer_->start();
    });
}

void TfrmMain::restoreJobList(const std::vector<SavedJobRow>& rows)
{
    const QStringList gone = restoreJobRows(jobs_, rows);
    if (!jobs_.empty()) {
        showRows();
        nodeTree_->show();
        hideWebPanel();
        nodeTree_->setCurrentRow(0);
    }
    if (!gone.isEmpty())
        tell(i18nText("10036") + QLatin1Char('\n') + gone.join(QLatin1Char('\n')));
}

void TfrmMain::saveJobList()
{
    const QByteArray data = jobListToJson(jobs_);
    if (data != savedJobList_ && writeJobListFile(jobListFile_, data, jobs_.empty()))
        savedJobList_ = data;
}
