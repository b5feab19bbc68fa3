#include "ui/SettingsPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using fenu::ChooseSettingsFile;

TEST(SettingsPath, BesideTheProgramWhenTheFileIsThereOrTheFolderIsWritable) {
    QTemporaryDir program;
    QTemporaryDir user;
    EXPECT_EQ(ChooseSettingsFile(program.path(), user.path()),
              program.filePath(QStringLiteral("Settings.ini")));
    QFile existing(program.filePath(QStringLiteral("Settings.ini")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    EXPECT_EQ(ChooseSettingsFile(program.path(), user.path()),
              program.filePath(QStringLiteral("Settings.ini")));
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
