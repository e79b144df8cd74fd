// Damaged language or skin files beside the program: a message on stderr and every window still
// created, with the default skin or none, and empty texts.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>

#include "app_test_support.h"
#include "application_windows.h"
#include "i18n_binding.h"
#include "skin_catalogue.h"
#include "skin_folder.h"

namespace {

class DamagedData : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearI18nBindings();
        setProgramFolder(QString::fromStdString(dir_.root()));
    }

    void TearDown() override { setProgramFolder(QString()); }

    // The shipped skins, seen from the prepared program folder.
    void linkShippedSkins()
    {
        QFile::link(QCoreApplication::applicationDirPath() + QStringLiteral("/Images"),
                    QString::fromStdString(dir_.path("Images")));
    }

    // Creates every window, shows each once and returns what was reported on stderr.
    std::string startProgram()
    {
        testing::internal::CaptureStderr();
        {
            ApplicationWindows windows(settings_.store());
            windows.main.show();
            for (SkinWindow* window : windows.skinnedWindows()) {
                window->show();
                EXPECT_FALSE(window->size().isEmpty()) << window->objectName().toStdString();
            }
            labelText_ = windows.main.findChild<QLabel*>(QStringLiteral("Lab_profile"))->text();
            skinLoaded_ = getSkinInfo() != nullptr;
        }
        return testing::internal::GetCapturedStderr();
    }

    apptest::TemporarySettings settings_;
    testsupport::TempDir dir_;
    QString labelText_;
    bool skinLoaded_ = false;
};

TEST_F(DamagedData, BrokenLanguageFileLeavesTextsEmpty)
{
    linkShippedSkins();
    QDir(QString::fromStdString(dir_.root())).mkdir(QStringLiteral("lang"));
    testsupport::writeFile(dir_, "lang/en_us.xml", "<language code=\"en_us\"><text id=\"04001\">Pro");

    const std::string report = startProgram();

    EXPECT_NE(report.find("en_us.xml"), std::string::npos) << report;
    EXPECT_TRUE(labelText_.isEmpty());
    EXPECT_TRUE(skinLoaded_);
}

TEST_F(DamagedData, BrokenDefaultSkinStartsWithoutSkin)
{
    QDir(QString::fromStdString(dir_.root())).mkdir(QStringLiteral("Images"));
    testsupport::writeFile(dir_, "Images/DefaultImage.xml", "<skin images=\"DefaultImage/\"><section");

    const std::string report = startProgram();

    EXPECT_NE(report.find("DefaultImage.xml"), std::string::npos) << report;
    EXPECT_NE(report.find("lang"), std::string::npos) << report;
    EXPECT_FALSE(skinLoaded_);
}

}  // namespace
