#include "ui/program_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace quorvane {

QString ProgramFolders::iniPath() const
{
    return QDir(dataFolder).filePath(QStringLiteral("setup.ini"));
}

QString ProgramFolders::shippedFile(const QString &name) const
{
    const QString beside = QDir(programFolder).filePath(name);
    if (QFileInfo::exists(beside) || installedDataFolder.isEmpty())
        return beside;
    const QString installed = QDir(installedDataFolder).filePath(name);
    return QFileInfo::exists(installed) ? installed : beside;
}

bool IsFolderWritable(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".quorvane-XXXXXX")));
    return probe.open();
}

ProgramFolders ResolveProgramFolders(const QString &programFolder, const QString &userDataFolder,
                                     const QString &installedDataFolder)
{
    ProgramFolders folders;
    folders.programFolder = programFolder;
    folders.installedDataFolder = installedDataFolder;
    if (IsFolderWritable(programFolder)) {
        folders.dataFolder = programFolder;
    } else {
        QDir().mkpath(userDataFolder);
        folders.dataFolder = userDataFolder;
    }
    return folders;
}

ProgramFolders ProgramFoldersOfThisProcess()
{
    const QStringList dataFolders = QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QString installed;
    for (const QString &folder : dataFolders) {
        if (folder != userFolder && QFileInfo::exists(QDir(folder).filePath(QStringLiteral("StockList.txt")))) {
            installed = folder;
            break;
        }
    }
    return ResolveProgramFolders(QCoreApplication::applicationDirPath(), userFolder, installed);
}

} // namespace quorvane
