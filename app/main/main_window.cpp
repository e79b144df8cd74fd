#include "main_window.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMimeData>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainterPath>
#include <QShowEvent>
#include <QSizeGrip>

#include "conversion_commands.h"
#include "help_commands.h"
#include "host_address.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "job_commands.h"
#include "job_list_view.h"
#include "message_box.h"
#include "named_widget.h"
#include "picture_box.h"
#include "popup_menu.h"
#include "preview_commands.h"
#include "profile_combobox.h"
#include "seam_stretch.h"
#include "skin_catalogue.h"
#include "skin_folder.h"
#include "skin_slider.h"
#include "window_events.h"

namespace {

const SkinWindowSpec kMainSpec{"main", "main/", QSize(850, 32)};

// The profile a first start offers (no last profile stored).
const char* const kFirstStartProfile = "MP4 video (H.264)";

// Where the main window's skin picture is widened and heightened when the window is larger than
// it: lines that are plain in both skins (near the list's inner edge, in the preview beside or
// below its picture, never through the title).
const std::vector<int> kSeamColumns = {540, 740};
const std::vector<int> kSeamRows = {250};
// Where the window's size and place are kept.
const char* const kGeometryKey = "main_geometry";

QAction* addNamedAction(QMenu* menu, const char* name)
{
    QAction* action = menu->addAction(QString::fromLatin1(name));
    action->setObjectName(QString::fromLatin1(name));
    return action;
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
    createCommands();
    loadI18nFolder();
    bindTexts();
    connectCommands();
    setI18nLanguage(settings_.language);
    helpCommands_->offerManual();
    setMessageSink(nullptr);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::createCommands()
{
    jobCommands_ = std::make_unique<JobCommands>(*this, jobs_, nodeTree_, buttons_, actions_, settings_);
    previewCommands_ =
        std::make_unique<PreviewCommands>(*this, jobs_, nodeTree_, playPanel_, trackBar_, buttons_, settings_);
    conversionCommands_ =
        std::make_unique<ConversionCommands>(*this, jobs_, nodeTree_, *previewCommands_, buttons_, settings_);
    helpCommands_ = std::make_unique<HelpCommands>(*this, helpMenu_, actions_);
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
    if (shownOnce_ && !previewCommands_->controller().isPlaying())
        previewCommands_->setUpPreviewPlayer();
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
    connect(nodeTree_, &JobListView::rowSelected, this, &TfrmMain::onRowSelected);
    jobCommands_->connectControls();
    conversionCommands_->connectControls();
    previewCommands_->connectControls();
    helpCommands_->connectControls();
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
    command(QKeySequence(Qt::Key_F2), [this] { jobCommands_->renameCurrentOutput(); });
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

QString TfrmMain::outputFolder() const
{
    return outputPath_->text();
}

void TfrmMain::showOutputFolder(const QString& folder)
{
    outputPath_->setText(folder);
}

ProfileSettingInfo TfrmMain::chosenProfileSettings() const
{
    const ProfileSelectObject* profile = picker_ == nullptr ? nullptr : picker_->currentProfile();
    return profile == nullptr ? ProfileSettingInfo{} : profileSettingInfoOf(*profile);
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
        jobCommands_->addDroppedPaths(paths);
    }
}

void TfrmMain::onRowSelected(int index)
{
    jobs_.select(index);
    previewCommands_->rowSelected();
    if (NodeData* row = jobs_.selectedRow(); row != nullptr && picker_ != nullptr)
        picker_->selectValue(row->settings.profile);
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
    return SkinWindow::eventFilter(watched, event);
}

bool TfrmMain::event(QEvent* event)
{
    if (event->type() == static_cast<QEvent::Type>(MSG_MAIN_PLAY_POSITION)) {
        const auto* message = static_cast<WindowMessageEvent*>(event);
        previewCommands_->playPosition(static_cast<int>(message->lParam()));
        return true;
    }
    return SkinWindow::event(event);
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
        previewCommands_->restoreStartVolume();
    close();
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
    previewCommands_->showPlayPicture();
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
        helpCommands_->startUpdater();
    playPanel_->hide();
    applyI18nAll();
    previewCommands_->setUpPreviewPlayer();
    createPicker();
    emit firstShown();
    jobCommands_->offerJobListRestore();
}

