#include "app_settings.h"

#include <QStandardPaths>
#include <algorithm>
#include <cstdio>

#include "skin_catalogue.h"

namespace {

#ifdef _WIN32
constexpr int kShowWebByDefault = 1;
#else
// The news panel stays hidden unless the user turns it on in the options.
constexpr int kShowWebByDefault = 0;
#endif

// On Windows the folder of that name on C:, elsewhere the subfolder "Clipwright" of the user's
// own folder for that kind of file (XDG's Videos or Pictures).
QString userFolder(const char* windowsName, QStandardPaths::StandardLocation location)
{
#ifdef _WIN32
    Q_UNUSED(location);
    return QStringLiteral("C:\\") + QLatin1String(windowsName) + QLatin1Char('\\');
#else
    Q_UNUSED(windowsName);
    return QStandardPaths::writableLocation(location) + QStringLiteral("/Clipwright/");
#endif
}

QString textOr(QSettings& store, const char* key, const QString& fallback)
{
    const QString stored = store.value(QLatin1String(key)).toString();
    return stored.isEmpty() ? fallback : stored;
}

// A decimal flag; missing, empty or unreadable values take the default, written back.
int readFlag(QSettings& store, const char* key, int fallback)
{
    const QString stored = store.value(QLatin1String(key)).toString();
    bool ok = false;
    const int value = stored.toInt(&ok);
    if (ok) {
        return value;
    }
    if (!stored.isEmpty()) {
        std::fprintf(stderr, "CorvaneClipwright: setting %s=\"%s\" is not a number; using %d\n", key,
                     stored.toUtf8().constData(), fallback);
    }
    store.setValue(QLatin1String(key), QString::number(fallback));
    return fallback;
}

}  // namespace

QString languageOfLocale(const QLocale& locale)
{
    return locale.language() == QLocale::Chinese ? QStringLiteral("zh_cn") : QStringLiteral("en_us");
}

std::unique_ptr<QSettings> openSettingsStore()
{
    auto store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Corvane"), QStringLiteral("Clipwright Pro"));
    store->beginGroup(QStringLiteral("setting"));
    return store;
}

QString defaultOutputFolder()
{
    return userFolder("Product OutPut", QStandardPaths::MoviesLocation);
}

QString defaultSnapshotFolder()
{
    return userFolder("Product Snapshot", QStandardPaths::PicturesLocation);
}

AppSettings readAppSettings(QSettings& store, const QString& defaultSkin)
{
    AppSettings settings;
    settings.lastProfile = store.value(QStringLiteral("last_profile")).toString();
    if (settings.lastProfile == QLatin1String("0")) {
        settings.lastProfile.clear();
    }
    settings.mediaOutputDir = textOr(store, "media_output_dir", defaultOutputFolder());
    settings.snapshotOutputDir = textOr(store, "snapshot_output_dir", defaultSnapshotFolder());
    settings.autoUpdate = readFlag(store, "AutoUpdate", 0);
    settings.autoShowWeb = readFlag(store, "AutoShowWeb", kShowWebByDefault);
    settings.conversionsAtOnce =
        std::clamp(store.value(QStringLiteral("ConversionsAtOnce")).toInt(), 0, kMostConversionsAtOnce);
    settings.skin = resolveSkinSetting(store, defaultSkin);
    settings.lastSourceDir = store.value(QStringLiteral("last_source_dir")).toString();
    settings.language = store.value(QStringLiteral("Language")).toString();
    if (settings.language != QLatin1String("en_us") && settings.language != QLatin1String("zh_cn"))
        settings.language = languageOfLocale(QLocale());
    store.sync();
    return settings;
}

void writeClosingSettings(QSettings& store, const AppSettings& settings, bool withProfile)
{
    if (withProfile)
        store.setValue(QStringLiteral("last_profile"), settings.lastProfile);
    store.setValue(QStringLiteral("Language"), settings.language);
    store.setValue(QStringLiteral("media_output_dir"), settings.mediaOutputDir);
    store.setValue(QStringLiteral("snapshot_output_dir"), settings.snapshotOutputDir);
    store.setValue(QStringLiteral("last_source_dir"), settings.lastSourceDir);
    store.sync();
}

void writeOptionSettings(QSettings& store, const AppSettings& settings)
{
    store.setValue(QStringLiteral("AutoUpdate"), QString::number(settings.autoUpdate != 0 ? 1 : 0));
    store.setValue(QStringLiteral("AutoShowWeb"), QString::number(settings.autoShowWeb != 0 ? 1 : 0));
    store.setValue(QStringLiteral("ConversionsAtOnce"), QString::number(settings.conversionsAtOnce));
    store.setValue(QStringLiteral("Skin"), storedSkinValue(settings.skin));
    store.setValue(QStringLiteral("Language"), settings.language);
    store.sync();
}
