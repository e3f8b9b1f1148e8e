#include "ui/program_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

// Paths from the installed program's folder, set by the build from its install folders.
#ifndef QUORVANE_DATA_FROM_BIN
#define QUORVANE_DATA_FROM_BIN "../share/quorvane"
#endif
#ifndef QUORVANE_PLUGINS_FROM_BIN
#define QUORVANE_PLUGINS_FROM_BIN "../lib/quorvane"
#endif

namespace quorvane {

namespace {

const QString StockListName = QStringLiteral("StockList.txt");
const QString IniName = QStringLiteral("setup.ini");

bool Holds(const QString &folder, const QString &name)
{
    return !folder.isEmpty() && QFileInfo::exists(QDir(folder).filePath(name));
}

// Gives a new user the administrator's defaults. The copy must stay writable
// for the user even when the original is read-only.
void CopyAdministratorIni(const QStringList &folders, const QString &userIni)
{
    if (QFileInfo::exists(userIni))
        return;
    for (const QString &folder : folders) {
        if (Holds(folder, IniName)) {
            if (QFile::copy(QDir(folder).filePath(IniName), userIni))
                QFile::setPermissions(userIni, QFile::permissions(userIni) | QFile::ReadOwner | QFile::WriteOwner);
            return;
        }
    }
}

// Earlier versions kept setup.ini in the data folder. Moved, not copied, so
// that no stale twin is left; a copy that cannot be moved stays where it is.
void MoveOldIni(const QString &oldIni, const QString &newIni)
{
    if (QFileInfo::exists(newIni) || !QFileInfo::exists(oldIni))
        return;
    if (QFile::rename(oldIni, newIni))
        return;
    // Across file systems: copy, and remove the old one only once the copy is whole.
    if (QFile::copy(oldIni, newIni) && QFileInfo(newIni).size() == QFileInfo(oldIni).size())
        QFile::remove(oldIni);
}

} // namespace

QString ProgramFolders::iniPath() const
{
    return QDir(configFolder).filePath(IniName);
}

QString ProgramFolders::userFile(const QString &name) const
{
    return QDir(dataFolder).filePath(name);
}

QString ProgramFolders::userStockListPath() const
{
    return userFile(StockListName);
}

QString ProgramFolders::stockListToRead() const
{
    const QString shipped = shippedFile(StockListName);
    const QFileInfo user(userStockListPath());
    if (user.exists() && (!QFileInfo::exists(shipped) || user.lastModified() > QFileInfo(shipped).lastModified()))
        return user.filePath();
    return shipped;
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

QString InstalledDataFolderOf(const QString &programFolder)
{
    return QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(QUORVANE_DATA_FROM_BIN)));
}

bool IsInstalledCopy(const QString &programFolder)
{
    return Holds(InstalledDataFolderOf(programFolder), StockListName);
}

QString SoundPluginPath(const QString &programFolder)
{
    const QDir program(programFolder);
    if (!IsInstalledCopy(programFolder))
        return program.filePath(QStringLiteral("quorvane_sound"));
    return QDir::cleanPath(program.filePath(QStringLiteral(QUORVANE_PLUGINS_FROM_BIN "/quorvane_sound")));
}

ProgramFolders ResolveProgramFolders(const QString &programFolder, const UserFolders &user,
                                     const QStringList &systemDataFolders)
{
    const bool installed = IsInstalledCopy(programFolder);
    QStringList shippedFolders = systemDataFolders;
    shippedFolders.removeAll(user.data);
    if (installed)
        shippedFolders.prepend(InstalledDataFolderOf(programFolder));

    ProgramFolders folders;
    folders.programFolder = programFolder;
    for (const QString &folder : std::as_const(shippedFolders)) {
        if (Holds(folder, StockListName)) {
            folders.installedDataFolder = folder;
            break;
        }
    }
    if (!installed && IsFolderWritable(programFolder)) {
        folders.configFolder = folders.dataFolder = programFolder;
    } else {
        QDir().mkpath(user.config);
        QDir().mkpath(user.data);
        folders.configFolder = user.config;
        folders.dataFolder = user.data;
        MoveOldIni(QDir(user.data).filePath(IniName), folders.iniPath());
        CopyAdministratorIni(shippedFolders, folders.iniPath());
    }
    return folders;
}

ProgramFolders ProgramFoldersOfThisProcess()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return ResolveProgramFolders(QCoreApplication::applicationDirPath(),
                                 {QDir(config).filePath(QCoreApplication::applicationName()),
                                  QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)},
                                 QStandardPaths::standardLocations(QStandardPaths::AppDataLocation));
}

} // namespace quorvane
