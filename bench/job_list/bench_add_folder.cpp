// Adds every file of a folder to the main window's job list as "Add a folder" does and prints
// the seconds it took and the longest time the window's event loop was kept from running.
//
//   bench_add_folder <folder>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app_settings.h"
#include "application_windows.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_add_folder <folder>\n");
        return 2;
    }
    applyProgramLook();
    QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    ApplicationWindows windows(openSettingsStore());
    windows.main.setMessageSink([](const QString&) {});
    windows.main.show();

    // A timer that should fire every 10 ms: its longest gap is the longest freeze.
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceTick.restart());
    });
    QEventLoop done;
    QObject::connect(&windows.main, &TfrmMain::sourcesAdded, &done, &QEventLoop::quit);

    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    ticker.start(10);
    windows.main.jobCommands().addFolder(QString::fromLocal8Bit(argv[1]));
    done.exec();
    std::printf("%.3f %lld %d\n", clock.elapsed() / 1000.0, static_cast<long long>(longestGap),
                windows.main.jobs().size());
    return 0;
}
