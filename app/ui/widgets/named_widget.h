// Creating a window's controls under their component names.
#pragma once

#include <QObject>

template <typename Widget, typename Parent>
Widget* makeNamed(Parent* parent, const char* name)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
