#pragma once

#include <QString>

namespace quorvane {

// The one way to read and write setup.ini: GBK text, sections and keys matched
// without regard to case, values trimmed. No cache: every call goes to the file.
// Failures are silent; a write replaces the file atomically.
class ClassIniFile
{
public:
    void setINIFileName(const QString &path) { m_path = path; }
    QString INIFileName() const { return m_path; }

    // The default comes back for a missing file, section or key, and for a
    // value that is empty or blank. At most 1023 GBK bytes are returned.
    QString GetIniKey(const QString &section, const QString &key, const QString &defaultValue) const;
    void WriteIniKey(const QString &section, const QString &key, const QString &value);
    void DelIniKey(const QString &section, const QString &key);
    void DelIniSec(const QString &section);

private:
    QString m_path;
};

} // namespace quorvane
