#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "program_data.h"

#include <unistd.h>

TEST(ProgramData, BuildTreeKeepsDataBesideTheProgram)
{
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("bin")));
    const QString bin = root.path() + QStringLiteral("/bin");
    EXPECT_EQ(dataFolderOf(bin), bin);
}

TEST(ProgramData, InstalledTreeFindsShareFromTheProgramFolder)
{
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("share/corvane-clipwright")));
    EXPECT_EQ(dataFolderOf(root.path() + QStringLiteral("/bin")),
              QDir(root.path() + QStringLiteral("/share/corvane-clipwright")).canonicalPath());
}

TEST(ProgramData, UserProfilesFollowTheProgramFolderWritability)
{
    struct Case {
        bool writable;
        const char* expected;
    };
    for (const Case& c : {Case{true, "/opt/cw/profile/user/"}, Case{false, "/home/u/.local/share/cw/profile/user/"}}) {
        EXPECT_EQ(userProfileFolderFor("/opt/cw/profile/", c.writable, "/home/u/.local/share/cw"), c.expected);
    }
}

TEST(ProgramData, OnlyTheInstalledProfileFolderCountsAsInstalled)
{
    struct Case {
        const char* folder;
        bool installed;
    };
    for (const Case& c : {Case{"/usr/share/corvane-clipwright/profile/", true},
                          Case{"/opt/cw/share/corvane-clipwright/profile", true},
                          Case{"/home/u/build/bin/profile/", false},
                          Case{"/usr/share/corvane-clipwright/", false},
                          Case{"/srv/my-share/corvane-clipwright/profile/", false}}) {
        EXPECT_EQ(isInstalledProfileFolder(c.folder), c.installed) << c.folder;
    }
}

TEST(ProgramData, WritabilityFollowsAccessRights)
{
    QTemporaryDir root;
    EXPECT_TRUE(folderIsWritable(root.path().toStdString()));
    EXPECT_TRUE(folderIsWritable((root.path() + QStringLiteral("/missing")).toStdString()));
    if (::geteuid() != 0) {
        QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_FALSE(folderIsWritable(root.path().toStdString()));
        QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}
