#pragma once

#include <QString>
#include <QStringList>

namespace quorvane {

// Where the program keeps its files. setup.ini and Log.txt go into dataFolder;
// shipped files (StockList.txt, ALARM8.WAV) are looked up with shippedFile.
struct ProgramFolders
{
    QString programFolder;  // the executable's folder
    QString dataFolder;     // the program folder of a copy run from its own writable folder, else the per-user data folder
    QString installedDataFolder; // read-only shipped files of an installed copy; may be empty

    QString iniPath() const;
    // The user's data folder, where Log.txt and the refreshed StockList.txt go.
    QString userDataFolder() const;
    // The user's StockList.txt.
    QString userStockListPath() const;
    // The stock list to read at start: the user's when it is newer than the
    // shipped one (a package upgrade's newer list wins over an old refresh).
    QString stockListToRead() const;
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

// The folders of a program in programFolder. Shipped files come from its own
// installed data folder, else from the first of systemDataFolders that holds
// StockList.txt. When the per-user folder is used and holds no setup.ini yet,
// an administrator's setup.ini from those folders is copied into it; the
// original is never written.
ProgramFolders ResolveProgramFolders(const QString &programFolder, const QString &userDataFolder,
                                     const QStringList &systemDataFolders = {});

// For the running program: the executable's folder and QStandardPaths'
// AppDataLocation folders.
ProgramFolders ProgramFoldersOfThisProcess();

} // namespace quorvane
