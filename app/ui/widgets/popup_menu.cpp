#include "popup_menu.h"

#include <QMenu>

QMenu* makeOpaquePopupMenu(QWidget* parent, const char* name)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}
