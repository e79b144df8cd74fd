// Helpers of the program's tests: one offscreen application per test executable and a settings
// store in a temporary folder.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "media_fixture.h"

class QApplication;
class QSettings;

namespace apptest {

// The program-wide QApplication (offscreen), created on first use with the program's style.
QApplication& application();

// Points the user's settings store and data folder at a temporary folder for the object's lifetime.
class TemporarySettings {
public:
    TemporarySettings();
    ~TemporarySettings();
    TemporarySettings(const TemporarySettings&) = delete;
    TemporarySettings& operator=(const TemporarySettings&) = delete;

    // The program's store ("Corvane" / "Clipwright Pro", group "setting") in that folder.
    std::unique_ptr<QSettings> store() const;

private:
    testsupport::TempDir dir_;
    QByteArray previousDataHome_;
};

// A 24-bit bitmap of that size and colour written at path (folders created).
void writeBitmap(const QString& path, int width, int height, unsigned rgb);

}  // namespace apptest
