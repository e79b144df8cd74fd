// What the generator reads: the skin descriptions (with their drawing hints) and the
// language-specific button pictures named by the language files.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <map>
#include <optional>
#include <vector>

struct GenItem {
    QString name;
    QString picture;
    QString draw;     // "background", "button", "thumb", "icon" or empty
    QString icon;
    QString style;
    QString surface;  // "page": drawn on a tab page instead of the window background
    QRect rect;
};

struct GenDecor {
    QString kind;  // "card", "well", "separator", "logo", "title"
    QRect rect;
    QString icon;
    QString text;
    QString colour;
    int fontSize = 0;
};

struct GenSection {
    QString name;
    QString folder;
    int strip = 0;
    QSize size;
    int corner = 0;
    std::vector<GenItem> items;
    std::vector<GenDecor> decors;

    const GenItem* find(const QString& itemName) const;
};

struct GenSkin {
    QString imageFolder;  // relative to the description file
    std::map<QString, QColor> colours;
    std::vector<GenSection> sections;

    QColor colour(const QString& role) const;
    const GenSection* sectionByFolder(const QString& folder) const;
};

struct LanguagePicture {
    QString path;     // relative to the skin's image folder: "main/en_us/start_normal.bmp"
    QString item;
    QString caption;
};

std::optional<GenSkin> readSkin(const QString& path, QString& error);
std::optional<std::vector<LanguagePicture>> readLanguagePictures(const QString& path, QString& error);
