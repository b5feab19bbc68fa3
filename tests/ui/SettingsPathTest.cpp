#include "ui/SettingsPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using fenu::ChooseSettingsFile;

TEST(SettingsPath, BesideAPortableProgramAlsoWhenTheFileIsThereButNeverBesideAnInstalledOne) {
    QTemporaryDir prefix;
    QTemporaryDir user;
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    QFile existing(bin + QStringLiteral("/Settings.ini"));
    QFile entry(prefix.filePath(QStringLiteral("share/applications/org.example.fenu.desktop")));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(QFileInfo(entry).path()));
    EXPECT_EQ(ChooseSettingsFile(bin, user.path()), existing.fileName());
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    EXPECT_EQ(ChooseSettingsFile(bin, user.path()), existing.fileName());
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    EXPECT_EQ(ChooseSettingsFile(bin, user.path()), user.filePath(QStringLiteral("Settings.ini")));
}

TEST(SettingsPath, InTheUserConfigurationFolderWhenTheProgramFolderCannotTakeIt) {
    QTemporaryDir scratch;
    QTemporaryDir user;
    // Tests run as root, to whom every folder is writable: a missing folder and a
    // regular file standing where the folder should be are what cannot take the file.
    const QString missing = scratch.filePath(QStringLiteral("missing"));
    EXPECT_EQ(ChooseSettingsFile(missing, user.path()),
              user.filePath(QStringLiteral("Settings.ini")));
    QFile notAFolder(scratch.filePath(QStringLiteral("program")));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    EXPECT_EQ(ChooseSettingsFile(notAFolder.fileName(), user.path()),
              user.filePath(QStringLiteral("Settings.ini")));
}

TEST(SettingsPath, TheProgramsFileIsAFullPathNamedSettingsIni) {
    const QString path = fenu::SettingsFile();
    EXPECT_TRUE(QDir::isAbsolutePath(path));
    EXPECT_TRUE(path.endsWith(QStringLiteral("/Settings.ini")));
}
