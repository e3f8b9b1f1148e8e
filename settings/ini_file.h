#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace quorvane {

// The one way to read and write setup.ini: GBK text, sections and keys matched
// without regard to case or the blanks around them, values trimmed. No cache:
// every call goes to the file. A change (write or delete) reads the file and
// replaces it atomically while it locks "setup.ini.lock" beside it, so saves
// of two processes never drop each other's keys; it fails, writing nothing,
// when the lock cannot be had or an existing file cannot be read. A write whose name the file could not give back (a character GBK
// lacks, a line break, "]" in a section, "=" in a key or "[" at its start)
// writes nothing.
struct IniWrite { QString section; QString key; QString value; };

class ClassIniFile
{
public:
    // The first use of a path in a run also removes what killed saves left beside it.
    void setINIFileName(const QString &path);
    QString INIFileName() const { return m_path; }

    // The default comes back for a missing file, section or key, and for a
    // value that is empty or blank. At most 1023 GBK bytes are returned.
    QString GetIniKey(const QString &section, const QString &key, const QString &defaultValue) const;
    // The value as written, empty included; none for a missing file, section or key.
    std::optional<QString> ReadIniKey(const QString &section, const QString &key) const;
    // Each returns false when the file could not be changed; lastError() then says why.
    bool WriteIniKey(const QString &section, const QString &key, const QString &value);
    // Applies the writes in order, with the rules of single writes, as one replacement of the file.
    bool WriteIniKeys(const QList<IniWrite> &writes);
    bool DelIniKey(const QString &section, const QString &key);
    bool DelIniSec(const QString &section);
    // Why the last change failed, in the user's words; empty after one that succeeded.
    QString lastError() const { return m_lastError; }

private:
    QString m_path;
    QString m_lastError;
};

} // namespace quorvane
