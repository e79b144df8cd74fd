// CorvaneClipwright: the desktop media converter.
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>
#include <cstring>

#include "app_settings.h"
#include "application_windows.h"

namespace {

// Shows an exception that reached the event loop instead of ending the program.
class ClipwrightApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QMessageBox::critical(nullptr, applicationDisplayName(), QString::fromUtf8(error.what()));
        }
        return false;
    }
};

constexpr const char* kUsage =
    "Usage: CorvaneClipwright [--] [FILE...]\n"
    "\n"
    "Starts the desktop media converter with the given files in its job list.\n"
    "\n"
    "  -h, --help     show this help\n"
    "  -V, --version  show the version\n"
    "  --             every argument after it is a file\n"
    "\n"
    "The command-line converter is clipwright (see clipwright --help).\n";

// Answers --help and --version without a window: true when the program is to end.
bool answeredOption(int argc, char** argv)
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return true;
        }
        if (std::strcmp(argv[i], "-V") == 0 || std::strcmp(argv[i], "--version") == 0) {
            std::printf("CorvaneClipwright %s\n", CLIPWRIGHT_VERSION);
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (answeredOption(argc, argv))
        return 0;
    ClipwrightApplication application(argc, argv);
    applyProgramLook();
    ApplicationWindows windows(openSettingsStore());
    windows.main.show();
    QStringList files;
    QStringList arguments = QApplication::arguments().mid(1);
    arguments.removeOne(QStringLiteral("--"));
    for (const QString& argument : arguments)
        files << QFileInfo(argument).absoluteFilePath();
    if (!files.isEmpty())
        windows.main.jobCommands().addFiles(files);
    return QApplication::exec();
}
