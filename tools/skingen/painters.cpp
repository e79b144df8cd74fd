#include "painters.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include "icons.h"

namespace {

const char* const kFontFamily = "WenQuanYi Micro Hei";

QFont uiFont(int pointSize, bool bold = false)
{
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

QImage blank(QSize size, const QColor& fill)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void paintTitleStrip(QPainter& p, const GenSkin& skin, const GenSection& section)
{
    const QRect strip(0, 0, section.size.width(), section.strip);
    QLinearGradient shade(strip.topLeft(), strip.bottomLeft());
    shade.setColorAt(0, skin.colour("title").lighter(118));
    shade.setColorAt(1, skin.colour("title"));
    p.fillRect(strip, shade);
    p.fillRect(QRect(0, section.strip - 1, section.size.width(), 1), skin.colour("title").darker(130));
}

void paintCard(QPainter& p, const GenSkin& skin, const QRect& rect)
{
    p.setPen(QPen(skin.colour("border"), 1));
    p.setBrush(skin.colour("panel"));
    p.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

void paintWell(QPainter& p, const GenSkin& skin, const GenDecor& decor)
{
    p.setPen(QPen(skin.colour("border"), 1));
    p.setBrush(skin.colour("well"));
    p.drawRoundedRect(QRectF(decor.rect).adjusted(-0.5, -0.5, 0.5, 0.5), 6, 6);
    const int side = std::min(decor.rect.width(), decor.rect.height()) / 4;
    const QRectF iconBox(decor.rect.center().x() - side / 2.0, decor.rect.center().y() - side / 2.0,
                         side, side);
    drawIcon(p, decor.icon, iconBox, skin.colour("well").lighter(260));
}

void paintDecor(QPainter& p, const GenSkin& skin, const GenDecor& decor)
{
    if (decor.kind == "card") {
        paintCard(p, skin, decor.rect);
    } else if (decor.kind == "well") {
        paintWell(p, skin, decor);
    } else if (decor.kind == "separator") {
        p.fillRect(decor.rect, skin.colour("border"));
    } else if (decor.kind == "logo") {
        drawLogo(p, decor.rect, skin.colour("accent"), QColor(Qt::white));
    } else if (decor.kind == "title") {
        p.setFont(uiFont(decor.fontSize, true));
        p.setPen(skin.colour(decor.colour.isEmpty() ? QStringLiteral("titleText") : decor.colour));
        p.drawText(QRect(decor.rect.left(), decor.rect.top(), 400, decor.rect.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, decor.text);
    }
}

void paintFrame(QPainter& p, const GenSkin& skin, const GenSection& section)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(skin.colour("title").darker(120), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, section.size.width() - 1, section.size.height() - 1),
                      section.corner / 2.0, section.corner / 2.0);
}

struct ButtonLook {
    QColor fill;      // invalid: no fill
    QColor border;    // invalid: no border
    QColor ink;
    double radius = 6;
};

QColor blend(const QColor& under, const QColor& over, double amount)
{
    return QColor::fromRgbF(under.redF() + (over.redF() - under.redF()) * amount,
                            under.greenF() + (over.greenF() - under.greenF()) * amount,
                            under.blueF() + (over.blueF() - under.blueF()) * amount);
}

ButtonLook flatLook(const QColor& under, const QColor& ink, ButtonState state)
{
    const double amount = state == ButtonState::Normal ? 0.0 : state == ButtonState::Hot ? 0.12 : 0.22;
    return {amount > 0 ? blend(under, ink, amount) : QColor(), QColor(), ink, 5};
}

ButtonLook lookOf(const GenSkin& skin, const GenItem& item, const QColor& under, ButtonState state)
{
    const QString& style = item.style;
    const bool hot = state == ButtonState::Hot;
    const bool down = state == ButtonState::Down;
    if (style == "title" || style == "menu") {
        ButtonLook look = flatLook(under, skin.colour("titleText"), state);
        if (item.icon == "close" && state != ButtonState::Normal) {
            look.fill = down ? skin.colour("danger").darker(115) : skin.colour("danger");
            look.ink = Qt::white;
        }
        return look;
    }
    if (style == "ghost") {
        return flatLook(under, skin.colour("text"), state);
    }
    if (style == "primary" || style == "big") {
        const QColor accent = skin.colour("accent");
        return {down ? accent.darker(115) : hot ? accent.lighter(112) : accent, QColor(),
                skin.colour("accentText"), style == "big" ? 10.0 : 6.0};
    }
    if (style == "tool" || style == "toolend") {
        ButtonLook look = flatLook(under, skin.colour("text"), state);
        look.border = state == ButtonState::Normal ? QColor() : skin.colour("border");
        return look;
    }
    // "secondary" and "combo": outlined fields.
    const QColor base = skin.colour("base");
    const QColor fill = down ? blend(base, skin.colour("text"), 0.12)
                             : hot ? blend(base, skin.colour("accent"), 0.08) : base;
    const QColor border = hot || down ? skin.colour("accent") : skin.colour("border");
    return {fill, border, skin.colour("text"), 6};
}

void paintButtonShape(QPainter& p, const ButtonLook& look, const QRectF& box)
{
    p.setPen(look.border.isValid() ? QPen(look.border, 1) : Qt::NoPen);
    p.setBrush(look.fill.isValid() ? QBrush(look.fill) : Qt::NoBrush);
    if (look.fill.isValid() || look.border.isValid()) {
        p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), look.radius, look.radius);
    }
}

// Icon and caption side by side, centred; a big button puts the icon above the caption.
void paintContent(QPainter& p, const GenItem& item, const ButtonLook& look, const QRect& box,
                  const QString& caption, bool pressed)
{
    const QRect area = box.translated(pressed ? 1 : 0, pressed ? 1 : 0);
    const bool big = item.style == "big";
    QFont font = uiFont(big ? 12 : 10, big);
    p.setFont(font);
    const int textWidth = caption.isEmpty() ? 0 : p.fontMetrics().horizontalAdvance(caption);
    const int iconSide = item.icon.isEmpty() ? 0 : std::min(big ? 26 : 20, area.height() - 8);
    if (big) {
        const int top = area.center().y() - (iconSide + 6 + p.fontMetrics().height()) / 2;
        drawIcon(p, item.icon, QRectF(area.center().x() - iconSide / 2.0, top, iconSide, iconSide), look.ink);
        p.setPen(look.ink);
        p.drawText(QRect(area.left(), top + iconSide + 4, area.width(), p.fontMetrics().height() + 2),
                   Qt::AlignCenter, caption);
        return;
    }
    const int gap = iconSide > 0 && textWidth > 0 ? 6 : 0;
    const int left = area.center().x() - (iconSide + gap + textWidth) / 2;
    drawIcon(p, item.icon, QRectF(left, area.center().y() - iconSide / 2.0 + 0.5, iconSide, iconSide),
             look.ink);
    p.setPen(look.ink);
    p.drawText(QRect(left + iconSide + gap, area.top(), textWidth + 2, area.height()),
               Qt::AlignLeft | Qt::AlignVCenter, caption);
}

void paintComboArrow(QPainter& p, const ButtonLook& look, const QRect& box)
{
    const int side = 16;
    drawIcon(p, QStringLiteral("chevron"),
             QRectF(box.right() - side - 6, box.center().y() - side / 2.0 + 0.5, side, side), look.ink);
}

}  // namespace

QImage paintBackground(const GenSkin& skin, const GenSection& section)
{
    QImage image = blank(section.size, skin.colour("window"));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintTitleStrip(p, skin, section);
    for (const GenDecor& decor : section.decors) {
        paintDecor(p, skin, decor);
    }
    paintFrame(p, skin, section);
    return image;
}

QImage surfaceOf(const GenSkin& skin, const QImage& background, const GenItem& item, QSize size)
{
    if (item.surface == "page") {
        return blank(size, skin.colour("panel"));
    }
    const QPoint origin(item.rect.left(), item.rect.top() + (item.rect.height() - size.height()) / 2);
    return background.copy(QRect(origin, size)).convertToFormat(QImage::Format_RGB32);
}

QImage paintButton(const GenSkin& skin, const GenItem& item, const QImage& surface,
                   ButtonState state, const QString& caption)
{
    QImage image = surface;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QColor under = surface.pixelColor(surface.width() / 2, surface.height() / 2);
    const ButtonLook look = lookOf(skin, item, under, state);
    const QRect box(QPoint(0, 0), surface.size());
    paintButtonShape(p, look, box);
    if (item.style == "combo") {
        paintComboArrow(p, look, box);
        return image;
    }
    paintContent(p, item, look, box, caption, state == ButtonState::Down);
    return image;
}

QImage paintThumb(const GenSkin& skin, const QImage& surface)
{
    QImage image = surface;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(skin.colour("accent"), 2));
    p.setBrush(skin.colour("base"));
    p.drawEllipse(QRectF(1.5, 1.5, kThumbSize - 3, kThumbSize - 3));
    return image;
}

QImage paintPlainIcon(const GenSkin& skin, const GenItem& item, const QImage& surface)
{
    QImage image = surface;
    QPainter p(&image);
    drawIcon(p, item.icon, QRectF(QPointF(0, 0), QSizeF(image.size())), skin.colour("subtext"));
    return image;
}

QImage paintTrimBar(const GenSkin& skin)
{
    QImage image = blank({256, 8}, skin.colour("panel"));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 256, 0);
    shade.setColorAt(0, skin.colour("accent").lighter(130));
    shade.setColorAt(1, skin.colour("accent"));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(0, 1, 256, 6), 3, 3);
    return image;
}

QImage paintPlayerIdle(const GenSkin& skin)
{
    QImage image = blank({400, 300}, skin.colour("well"));
    QPainter p(&image);
    drawLogo(p, QRectF(168, 110, 64, 64), skin.colour("accent"), QColor(Qt::white));
    p.setFont(uiFont(13, true));
    p.setPen(skin.colour("well").lighter(400));
    p.drawText(QRect(0, 186, 400, 30), Qt::AlignCenter, QStringLiteral("Corvane Clipwright"));
    return image;
}

QImage paintPlayerBackground(const GenSkin& skin)
{
    return blank({320, 240}, skin.colour("well"));
}
