// The main window's buttons and menu items, shared by the window that makes them and the command
// groups that connect them (job_commands, conversion_commands, preview_commands, help_commands).
#pragma once

class ImageButton;
class QAction;

struct MainButtons {
    ImageButton *close, *leftClose, *mini, *leftMini, *file, *edit, *help;
    ImageButton *add, *addMenu, *editFrm, *option, *start, *set, *save, *open, *openPath, *profile;
    ImageButton *play, *stop, *prev, *next, *snap, *snapFolder;
};

struct MainActions {
    QAction *loadFile, *loadFolder, *exit;
    QAction *checkAll, *uncheckAll, *clearAll, *properties, *deleteNode, *moveUp, *moveDown;
    QAction *help, *support, *homepage, *about, *update;
};
