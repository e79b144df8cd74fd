// CorvaneClipwright: the desktop media converter.
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

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

}  // namespace

int main(int argc, char** argv)
{
    ClipwrightApplication application(argc, argv);
    applyProgramLook();
    ApplicationWindows windows(openSettingsStore());
    windows.main.show();
    QStringList files;
    for (const QString& argument : QApplication::arguments().mid(1))
        files << QFileInfo(argument).absoluteFilePath();
    if (!files.isEmpty())
        windows.main.addFiles(files);
    return QApplication::exec();
}
