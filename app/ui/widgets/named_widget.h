// Creating a window's controls under their component names.
#pragma once

#include <QLineEdit>
#include <QObject>
#include <QRegularExpressionValidator>

template <typename Widget, typename Parent>
Widget* makeNamed(Parent* parent, const char* name)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A centred field for a number of up to four digits: any other text, typed or pasted, is refused
// (a longer one is not cut to four).
inline QLineEdit* makeFourDigitEdit(QWidget* parent, const char* name)
{
    auto* edit = makeNamed<QLineEdit>(parent, name);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), edit));
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}
