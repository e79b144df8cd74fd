#include "popup_menu.h"

#include <QMenu>

QMenu* makeOpaquePopupMenu(QWidget* parent, const char* name)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QString::fromLatin1(name));
    // Without a compositor nothing blends a see-through pop-up with what lies below it: the
    // menu fills its whole rectangle itself and asks for no drop shadow.
    menu->setAttribute(Qt::WA_TranslucentBackground, false);
    menu->setAttribute(Qt::WA_NoSystemBackground, false);
    menu->setAutoFillBackground(true);
    menu->setWindowFlag(Qt::NoDropShadowWindowHint, true);
    return menu;
}
