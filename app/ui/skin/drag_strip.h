// Moving a frameless window by pressing on its background inside a strip along the top.
#pragma once

#include <QSize>

class QWidget;

void installDragStrip(QWidget* background, QWidget* window, const QSize& strip);
