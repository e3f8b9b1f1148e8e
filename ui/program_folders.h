#pragma once

#include <QString>
#include <QStringList>

namespace quorvane {

// Where the program keeps its files. setup.ini goes into configFolder, the
// user's own files (Log.txt, a stock list of their own) into dataFolder;
// shipped files (StockList.txt, ALARM8.WAV) are looked up with shippedFile.
struct ProgramFolders
{
    QString programFolder;  // the executable's folder
    // Both the program folder of a copy run from its own writable folder, else
    // the per-user folders ($XDG_CONFIG_HOME/quorvane, $XDG_DATA_HOME/quorvane).
    QString configFolder;
    QString dataFolder;
    QString installedDataFolder; // read-only shipped files of an installed copy; may be empty

    QString iniPath() const;
    // The user's StockList.txt.
    QString userStockListPath() const;
    // The stock list to read at start: the user's when it is newer than the
    // shipped one (a package upgrade's newer list wins over an old refresh).
    QString stockListToRead() const;
    // A file the program writes for the user: dataFolder/name.
    QString userFile(const QString &name) const;
    // programFolder/name when it exists, else installedDataFolder/name when that
    // exists, else programFolder/name (which then reads as missing).
    QString shippedFile(const QString &name) const;
};

// True when a file can be created in folder (tried, not guessed from the mode bits).
bool IsFolderWritable(const QString &folder);

// The shipped-data folder an installed copy has beside its program folder
// (bin/../share/quorvane), and whether programFolder is such a copy: then it
// keeps its files per user even when it may write its own folder (as root),
// so that nothing is left behind when the package is removed.
QString InstalledDataFolderOf(const QString &programFolder);
bool IsInstalledCopy(const QString &programFolder);

// The sound plug-in to load, without its suffix: in an installed copy's
// library folder (bin/../lib/quorvane), else beside the program.
QString SoundPluginPath(const QString &programFolder);

// The user's own folders for the program.
struct UserFolders
{
    QString config; // $XDG_CONFIG_HOME/quorvane
    QString data;   // $XDG_DATA_HOME/quorvane
};

// The folders of a program in programFolder. Shipped files come from its own
// installed data folder, else from the first of systemDataFolders that holds
// StockList.txt. When the per-user folders are used: a setup.ini that earlier
// versions kept in the data folder moves to the config folder; failing that,
// a config folder without setup.ini gets a copy of an administrator's
// setup.ini from those folders, whose original is never written.
ProgramFolders ResolveProgramFolders(const QString &programFolder, const UserFolders &user,
                                     const QStringList &systemDataFolders = {});

// For the running program: the executable's folder, the user's XDG config and
// data folders and QStandardPaths' AppDataLocation folders.
ProgramFolders ProgramFoldersOfThisProcess();

} // namespace quorvane
