#include "app_test_support.h"

#include <QLocale>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSettings>
#include <QStandardPaths>

#include "app_settings.h"
#include "application_windows.h"

namespace apptest {

QApplication& application()
{
    static int argc = 1;
    static char name[] = "clipwright_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* created = new QApplication(argc, argv);
        applyProgramLook();
        // A first start takes its language from the locale: the tests start in English wherever
        // they run.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        return created;
    }();
    return *instance;
}

TemporarySettings::TemporarySettings()
{
    application();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(dir_.root()));
    // The user's data folder (the saved job list) too.
    previousDataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir_.path("data")));
}

TemporarySettings::~TemporarySettings()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(dir_.path("unused")));
    if (previousDataHome_.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", previousDataHome_);
}

std::unique_ptr<QSettings> TemporarySettings::store() const
{
    return openSettingsStore();
}

void writeBitmap(const QString& path, int width, int height, unsigned rgb)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(rgb));
    QDir().mkpath(QFileInfo(path).path());
    image.save(path, "BMP");
}

}  // namespace apptest
