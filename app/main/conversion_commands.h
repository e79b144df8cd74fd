// The main window's conversion commands: the output folder (choosing and opening it), "apply to
// all", the windows that change the selected row's settings (edit, output parameters, save as a
// profile) and starting the conversion of the checked rows.
#pragma once

#include <QObject>

#include "main_controls.h"

class JobList;
class JobListView;
class PreviewCommands;
class QCheckBox;
class QLineEdit;
class TfrmMain;
struct AppSettings;

class ConversionCommands : public QObject {
public:
    ConversionCommands(TfrmMain& window, JobList& jobs, JobListView* list, PreviewCommands& preview,
                       const MainButtons& buttons, AppSettings& settings);

    void connectControls();
    // Checks the checked rows and, when they can be converted, stops the preview, makes the output
    // folder and asks for the conversion (the window's conversionRequested).
    void startConversion();

private:
    void chooseOutputFolder();
    void applyChosenProfileToAll();
    void openEditWindow();

    TfrmMain& window_;
    JobList& jobs_;
    JobListView* list_;
    PreviewCommands& preview_;
    const MainButtons& buttons_;
    AppSettings& settings_;
};
