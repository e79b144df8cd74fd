// Pop-up menus of the skinned windows that paint themselves completely, so they look right on
// an X server without a compositor.
#pragma once

class QMenu;
class QWidget;

// A menu named name (its component name) owned by parent.
QMenu* makeOpaquePopupMenu(QWidget* parent, const char* name);
