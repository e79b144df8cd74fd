#include "icons.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <functional>
#include <map>

namespace {

// Icons are drawn on a 24 × 24 grid scaled to the box.
using IconPainter = std::function<void(QPainter&)>;

QPolygonF polygon(std::initializer_list<QPointF> points)
{
    return QPolygonF(QList<QPointF>(points));
}

void fillPolygon(QPainter& p, std::initializer_list<QPointF> points)
{
    p.save();
    p.setBrush(p.pen().color());
    p.drawPolygon(polygon(points));
    p.restore();
}

void close(QPainter& p)
{
    p.drawLine(QPointF(7, 7), QPointF(17, 17));
    p.drawLine(QPointF(17, 7), QPointF(7, 17));
}

void minimize(QPainter& p) { p.drawLine(QPointF(7, 16), QPointF(17, 16)); }

void add(QPainter& p)
{
    p.drawLine(QPointF(12, 5), QPointF(12, 19));
    p.drawLine(QPointF(5, 12), QPointF(19, 12));
}

void chevron(QPainter& p) { p.drawPolyline(polygon({{8, 10}, {12, 14}, {16, 10}})); }

void scissors(QPainter& p)
{
    p.drawEllipse(QPointF(7, 17), 3, 3);
    p.drawEllipse(QPointF(17, 17), 3, 3);
    p.drawLine(QPointF(9, 15), QPointF(17, 4));
    p.drawLine(QPointF(15, 15), QPointF(7, 4));
}

void gear(QPainter& p)
{
    p.drawEllipse(QPointF(12, 12), 3, 3);
    for (int tooth = 0; tooth < 8; ++tooth) {
        const double angle = tooth * M_PI / 4;
        p.drawLine(QPointF(12 + 6 * std::cos(angle), 12 + 6 * std::sin(angle)),
                   QPointF(12 + 9 * std::cos(angle), 12 + 9 * std::sin(angle)));
    }
    p.drawEllipse(QPointF(12, 12), 6, 6);
}

void play(QPainter& p) { fillPolygon(p, {{8, 5}, {19, 12}, {8, 19}}); }

void pause(QPainter& p)
{
    p.save();
    p.setBrush(p.pen().color());
    p.drawRoundedRect(QRectF(7, 5, 3.5, 14), 1, 1);
    p.drawRoundedRect(QRectF(13.5, 5, 3.5, 14), 1, 1);
    p.restore();
}

void stop(QPainter& p)
{
    p.save();
    p.setBrush(p.pen().color());
    p.drawRoundedRect(QRectF(7, 7, 10, 10), 1.5, 1.5);
    p.restore();
}

void previous(QPainter& p)
{
    p.drawLine(QPointF(6, 6), QPointF(6, 18));
    fillPolygon(p, {{18, 6}, {9, 12}, {18, 18}});
}

void next(QPainter& p)
{
    p.drawLine(QPointF(18, 6), QPointF(18, 18));
    fillPolygon(p, {{6, 6}, {15, 12}, {6, 18}});
}

void camera(QPainter& p)
{
    p.drawRoundedRect(QRectF(3.5, 7.5, 17, 12), 2, 2);
    p.drawPolyline(polygon({{8, 7.5}, {9.5, 4.5}, {14.5, 4.5}, {16, 7.5}}));
    p.drawEllipse(QPointF(12, 13.5), 3.5, 3.5);
}

void folder(QPainter& p)
{
    QPainterPath path;
    path.moveTo(3.5, 18.5);
    path.lineTo(3.5, 6);
    path.lineTo(9, 6);
    path.lineTo(11, 8.5);
    path.lineTo(20.5, 8.5);
    path.lineTo(20.5, 18.5);
    path.closeSubpath();
    p.drawPath(path);
}

void flipHorizontal(QPainter& p)
{
    p.drawLine(QPointF(12, 3), QPointF(12, 21));
    fillPolygon(p, {{9, 7}, {9, 17}, {3, 17}});
    p.drawPolygon(polygon({{15, 7}, {15, 17}, {21, 17}}));
}

void flipVertical(QPainter& p)
{
    p.drawLine(QPointF(3, 12), QPointF(21, 12));
    fillPolygon(p, {{7, 9}, {17, 9}, {17, 3}});
    p.drawPolygon(polygon({{7, 15}, {17, 15}, {17, 21}}));
}

void trimMark(QPainter& p, bool start)
{
    const double bar = start ? 7 : 17;
    const double hook = start ? 11 : 13;
    p.drawPolyline(polygon({{hook, 4}, {bar, 4}, {bar, 20}, {hook, 20}}));
    if (start) {
        fillPolygon(p, {{12, 8}, {19, 12}, {12, 16}});
    } else {
        fillPolygon(p, {{12, 8}, {5, 12}, {12, 16}});
    }
}

void playTrim(QPainter& p)
{
    p.drawLine(QPointF(5, 5), QPointF(5, 19));
    fillPolygon(p, {{9, 5}, {19, 12}, {9, 19}});
}

void volume(QPainter& p)
{
    fillPolygon(p, {{4, 9}, {8, 9}, {13, 5}, {13, 19}, {8, 15}, {4, 15}});
    p.drawArc(QRectF(11, 8, 7, 8), -60 * 16, 120 * 16);
    p.drawArc(QRectF(11, 5, 10, 14), -60 * 16, 120 * 16);
}

void convert(QPainter& p)
{
    p.drawArc(QRectF(4, 4, 16, 16), 30 * 16, 260 * 16);
    fillPolygon(p, {{15.5, 3}, {21.5, 6}, {16, 10}});
    fillPolygon(p, {{10, 8.5}, {16, 12}, {10, 15.5}});
}

void check(QPainter& p) { p.drawPolyline(polygon({{5, 12.5}, {10, 17}, {19, 7}})); }

void film(QPainter& p)
{
    p.drawRoundedRect(QRectF(3.5, 5.5, 17, 13), 2, 2);
    fillPolygon(p, {{10, 9}, {15, 12}, {10, 15}});
}

const std::map<QString, IconPainter>& icons()
{
    static const std::map<QString, IconPainter> table = {
        {"close", close},       {"minimize", minimize},
        {"add", add},           {"chevron", chevron},
        {"scissors", scissors}, {"gear", gear},
        {"play", play},         {"pause", pause},
        {"stop", stop},         {"prev", previous},
        {"next", next},         {"camera", camera},
        {"folder", folder},     {"fliph", flipHorizontal},
        {"flipv", flipVertical}, {"trimstart", [](QPainter& p) { trimMark(p, true); }},
        {"trimend", [](QPainter& p) { trimMark(p, false); }},
        {"playtrim", playTrim}, {"volume", volume},
        {"convert", convert},   {"check", check},
        {"cross", close},       {"film", film},
    };
    return table;
}

}  // namespace

bool drawIcon(QPainter& painter, const QString& name, const QRectF& box, const QColor& colour)
{
    const auto found = icons().find(name);
    if (found == icons().end()) {
        return false;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.topLeft());
    painter.scale(box.width() / 24.0, box.height() / 24.0);
    painter.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    found->second(painter);
    painter.restore();
    return true;
}

void drawLogo(QPainter& painter, const QRectF& box, const QColor& accent, const QColor& ink)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.topLeft());
    painter.scale(box.width() / 24.0, box.height() / 24.0);
    QLinearGradient shade(0, 0, 24, 24);
    shade.setColorAt(0, accent.lighter(125));
    shade.setColorAt(1, accent.darker(115));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawRoundedRect(QRectF(0, 0, 24, 24), 6, 6);
    painter.setBrush(ink);
    painter.drawPolygon(polygon({{8.5, 6}, {18, 12}, {8.5, 18}}));
    painter.setPen(QPen(accent.darker(115), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(6, 17), QPointF(17, 6));
    painter.restore();
}
