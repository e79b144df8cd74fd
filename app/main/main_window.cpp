#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include "host_address.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "named_widget.h"
#include "picture_box.h"
#include "skin_catalogue.h"
#include "skin_slider.h"

namespace {

const SkinWindowSpec kMainSpec{"main", "main/", QSize(850, 32)};

// Default header texts of the job list before the language is applied.
const char* const kColumnHeaders[] = {"Source", "Original Length", "Trimmed Length",
                                      "Distination File"};

// Rows with some air above and below their text.
class RoomyRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(0, 8);
    }
};

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
    setUpWebPanel();
    auto* profilePanel = findChild<QFrame*>(QStringLiteral("suiImagePanel1"));
    nodeTree_->hide();
    profilePanel->hide();
    keepVisibilityOnSkinSwitch({nodeTree_, playPanel_, profilePanel});
    applyToAll_->setChecked(false);
    outputPath_->setText(settings_.mediaOutputDir);
    setDragBackground(background_);
    loadI18nFolder();
    bindTexts();
    connectCommands();
    setI18nLanguage(QStringLiteral("en_us"));
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::createControls()
{
    background_ = makeNamed<PictureBox>(this, "BG_img");
    for (const char* name : {"close", "Left_close", "mini_img", "Left_mini", "File_img", "Edit_img",
                             "Help_img"}) {
        makeNamed<ImageButton>(this, name);
    }
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
    nodeTree_ = makeNamed<QTreeWidget>(this, "NodeTree");
    nodeTree_->setColumnCount(4);
    QStringList headers;
    for (const char* header : kColumnHeaders) {
        headers << QString::fromLatin1(header);
    }
    nodeTree_->setHeaderLabels(headers);
    nodeTree_->setRootIsDecorated(false);
    nodeTree_->setUniformRowHeights(true);
    nodeTree_->setItemDelegate(new RoomyRowDelegate(nodeTree_));
    nodeTree_->setAlternatingRowColors(true);
    nodeTree_->setDragDropMode(QAbstractItemView::InternalMove);
    nodeTree_->header()->setStretchLastSection(true);
    nodeTree_->setColumnWidth(0, 170);
    nodeTree_->setColumnWidth(1, 100);
    nodeTree_->setColumnWidth(2, 100);
}

void TfrmMain::createToolbarButtons()
{
    for (const char* name : {"add_img", "Add_menu_img", "EditFrm_img", "option_img", "Start_img",
                             "set_img", "save_img", "Open_img", "Open_path_img", "mcmbProfile"}) {
        makeNamed<ImageButton>(this, name);
    }
    auto* panel = makeNamed<QFrame>(this, "suiImagePanel1");
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    makeNamed<QTreeWidget>(panel, "vstProfileCategory")->setHeaderHidden(true);
    makeNamed<QTreeWidget>(panel, "vstProfileList")->setHeaderHidden(true);
    panel->hide();
}

void TfrmMain::createPlayerControls()
{
    playPanel_ = makeNamed<QWidget>(this, "MainPlayPanel");
    trackBar_ = makeNamed<SkinSlider>(this, "MainTrackBar");
    for (const char* name : {"play_img", "stop_img", "prev_img", "Next_img", "snap_img",
                             "snapfolder_img"}) {
        makeNamed<ImageButton>(this, name);
    }
}

void TfrmMain::createOutputControls()
{
    makeNamed<QLabel>(this, "Lab_profile");
    makeNamed<QLabel>(this, "Lab_path");
    outputPath_ = makeNamed<QLineEdit>(this, "OutputPath");
    outputPath_->setReadOnly(true);
    applyToAll_ = makeNamed<QCheckBox>(this, "Main_apply");
    merge_ = makeNamed<QCheckBox>(this, "Main_merge");
}

void TfrmMain::createMenus()
{
    fileMenu_ = makeNamed<QMenu>(this, "FileMenu");
    for (const char* name : {"LoadFile", "LoadFolder"}) {
        addNamedAction(fileMenu_, name);
    }
    fileMenu_->addSeparator();
    addNamedAction(fileMenu_, "Exit");
    editMenu_ = makeNamed<QMenu>(this, "EditMenu");
    for (const char* name : {"CheckAll", "UncheckAll", "ClearAll", "Properties", "deletenode",
                             "moveup", "movedown"}) {
        addNamedAction(editMenu_, name);
    }
    helpMenu_ = makeNamed<QMenu>(this, "HelpMenu");
    for (const char* name : {"Help", "Support", "Homepage", "About", "update"}) {
        addNamedAction(helpMenu_, name);
    }
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
    const struct {
        const char* name;
        const char* id;
    } menuItems[] = {{"LoadFile", "02001"},   {"LoadFolder", "02002"}, {"Exit", "02003"},
                     {"CheckAll", "02004"},   {"UncheckAll", "02005"}, {"ClearAll", "02006"},
                     {"Properties", "02013"}, {"deletenode", "02015"}, {"moveup", "02017"},
                     {"movedown", "02018"},   {"Help", "02009"},       {"Support", "02010"},
                     {"Homepage", "02011"},   {"About", "02012"},      {"update", "02014"}};
    for (const auto& item : menuItems) {
        bindI18nRows(findChild<QAction*>(QLatin1String(item.name)), {{"Caption", item.id}});
    }
    bindImageButtons();
    bindI18nRows(findChild<QLabel*>(QStringLiteral("Lab_profile")), {{"Caption", "04001"}});
    bindI18nRows(findChild<QLabel*>(QStringLiteral("Lab_path")), {{"Caption", "04002"}});
    bindI18nRows(applyToAll_, {{"Caption", "05026"}});
    bindI18nRows(merge_, {{"Caption", "05030"}});
}

void TfrmMain::bindImageButtons()
{
    const struct {
        const char* name;
        const char* normal;
        const char* hot;
        const char* down;
        const char* hint;
    } pictured[] = {{"File_img", "00014", "00015", nullptr, "00017"},
                    {"Edit_img", "00018", "00019", nullptr, "00021"},
                    {"Help_img", "00022", "00023", nullptr, "00025"},
                    {"Start_img", "00010", "00011", "00012", "00013"},
                    {"add_img", "00056", "00057", "00058", "00059"},
                    {"Add_menu_img", "00060", "00061", "00062", "00063"},
                    {"option_img", "00032", "00033", "00034", "00035"},
                    {"EditFrm_img", "00047", "00048", "00049", "00050"}};
    for (const auto& button : pictured) {
        QObject* component = findChild<ImageButton*>(QLatin1String(button.name));
        bindI18nRows(component, {{"PicNormal", button.normal}, {"PicMouseOn", button.hot}});
        if (button.down != nullptr) {
            setI18nProperty(button.name, "PicMouseDown", button.down);
        }
        setI18nProperty(button.name, "Hint", button.hint);
    }
    for (const auto& [name, id] : {std::pair{"save_img", "00051"}, std::pair{"set_img", "00052"},
                                   std::pair{"Open_path_img", "00040"}}) {
        bindI18nRows(findChild<ImageButton*>(QLatin1String(name)), {{"Caption", id}, {"Hint", id}});
    }
    for (const auto& [name, id] : {std::pair{"play_img", "00026"}, std::pair{"stop_img", "00027"},
                                   std::pair{"prev_img", "00028"}, std::pair{"Next_img", "00029"},
                                   std::pair{"snap_img", "00030"}, std::pair{"snapfolder_img", "00031"}}) {
        bindI18nRows(findChild<ImageButton*>(QLatin1String(name)), {{"Hint", id}});
    }
}

void TfrmMain::connectCommands()
{
    const auto popUnder = [this](const char* button, QMenu* menu) {
        auto* source = findChild<ImageButton*>(QLatin1String(button));
        connect(source, &ImageButton::clicked, this,
                [source, menu] { menu->popup(source->mapToGlobal(QPoint(0, source->height()))); });
    };
    popUnder("File_img", fileMenu_);
    popUnder("Edit_img", editMenu_);
    popUnder("Help_img", helpMenu_);
    connect(findChild<ImageButton*>(QStringLiteral("Add_menu_img")), &ImageButton::clicked, this,
            [this] { fileMenu_->popup(QCursor::pos()); });
    for (const char* name : {"close", "Left_close"}) {
        connect(findChild<ImageButton*>(QLatin1String(name)), &ImageButton::clicked, this,
                &TfrmMain::closeWritingSettings);
    }
    for (const char* name : {"mini_img", "Left_mini"}) {
        connect(findChild<ImageButton*>(QLatin1String(name)), &ImageButton::clicked, this,
                &TfrmMain::showMinimized);
    }
    connect(findChild<QAction*>(QStringLiteral("Exit")), &QAction::triggered, this, &TfrmMain::close);
    connect(findChild<ImageButton*>(QStringLiteral("option_img")), &ImageButton::clicked, this,
            &TfrmMain::optionsRequested);
    connect(findChild<QAction*>(QStringLiteral("About")), &QAction::triggered, this,
            &TfrmMain::aboutRequested);
}

void TfrmMain::closeWritingSettings()
{
    writeClosingSettings(*store_, settings_);
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
    hideWebPanel();
}

void TfrmMain::showEvent(QShowEvent* event)
{
    SkinWindow::showEvent(event);
    if (shownOnce_) {
        return;
    }
    shownOnce_ = true;
    playPanel_->hide();
    applyI18nAll();
    emit firstShown();
}
