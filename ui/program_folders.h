#pragma once

#include <QString>

namespace quorvane {

// Where the program keeps its files. setup.ini and Log.txt go into dataFolder;
// shipped files (StockList.txt, ALARM8.WAV) are looked up with shippedFile.
struct ProgramFolders
{
    QString programFolder;  // the executable's folder
    QString dataFolder;     // the program folder when writable, else the per-user data folder
    QString installedDataFolder; // read-only shipped files of an installed copy; may be empty

    QString iniPath() const;
    // programFolder/name when it exists, else installedDataFolder/name when that
    // exists, else programFolder/name (which then reads as missing).
    QString shippedFile(const QString &name) const;
};

// True when a file can be created in folder (tried, not guessed from the mode bits).
bool IsFolderWritable(const QString &folder);

// programFolder if writable, else userDataFolder (created when missing).
ProgramFolders ResolveProgramFolders(const QString &programFolder, const QString &userDataFolder,
                                     const QString &installedDataFolder = {});

// For the running program: the executable's folder, QStandardPaths' AppDataLocation
// and the first other AppDataLocation folder that holds StockList.txt.
ProgramFolders ProgramFoldersOfThisProcess();

} // namespace quorvane
