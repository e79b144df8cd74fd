// Line icons drawn into a square box in one colour.
#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

// Draws the icon of that name; unknown names draw nothing and return false.
bool drawIcon(QPainter& painter, const QString& name, const QRectF& box, const QColor& colour);

// The product mark: a rounded square with a play triangle cut by a diagonal stroke.
void drawLogo(QPainter& painter, const QRectF& box, const QColor& accent, const QColor& ink);
