#include "settings/ini_file.h"

#include "calc/write_failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QDeadlineTimer>
#include <QMutex>
#include <QSet>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quorvane {

namespace {

// A value longer than this (in GBK bytes) is cut, as the 1024-byte buffer of
// the private-profile read would cut it.
constexpr qsizetype MaxValueBytes = 1023;

bool isBlankByte(char c)
{
    return c == ' ' || c == '\t';
}

// Blanks and the delimiters '=', CR and LF are below 0x40, so they can never be
// the second byte of a GBK pair: trimming and splitting the raw bytes is safe.
QByteArray trimmedBytes(QByteArrayView bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlankByte(bytes[begin]))
        ++begin;
    while (end > begin && isBlankByte(bytes[end - 1]))
        --end;
    return bytes.sliced(begin, end - begin).toByteArray();
}

QString fromGbk(QByteArrayView bytes)
{
    QStringDecoder decoder("GBK");
    return decoder(bytes);
}

QByteArray toGbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    return encoder(text);
}

// Cuts at most MaxValueBytes off the front without splitting a pair.
QByteArray capValue(const QByteArray &value)
{
    if (value.size() <= MaxValueBytes)
        return value;
    qsizetype i = 0;
    while (i < value.size()) {
        const qsizetype step = static_cast<unsigned char>(value[i]) >= 0x81 ? 2 : 1;
        if (i + step > MaxValueBytes)
            break;
        i += step;
    }
    return value.left(i);
}

struct IniLine
{
    enum Kind { Other, Section, Entry };

    QByteArray raw;        // the line as read, line end included
    QByteArray ending;     // "\r\n", "\n", "\r" or empty for a last line without one
    Kind kind = Other;
    QString name;          // section name or key, trimmed
    QByteArray keyBytes;   // an entry's key as written in the file
    QByteArray valueBytes; // an entry's value, trimmed, still GBK
};

IniLine parseLine(const QByteArray &raw)
{
    IniLine line;
    line.raw = raw;
    QByteArray body = raw;
    for (const char *ending : {"\r\n", "\n", "\r"}) {
        if (body.endsWith(ending)) {
            line.ending = ending;
            body.chop(line.ending.size());
            break;
        }
    }
    const QByteArray trimmed = trimmedBytes(body);
    if (trimmed.startsWith('[')) {
        const QString text = fromGbk(trimmed);
        const qsizetype close = text.indexOf(u']');
        if (close > 0) {
            line.kind = IniLine::Section;
            line.name = text.mid(1, close - 1).trimmed();
        }
        return line;
    }
    const qsizetype eq = trimmed.indexOf('=');
    if (eq > 0) {
        line.keyBytes = trimmedBytes(QByteArrayView(trimmed).first(eq));
        line.name = fromGbk(line.keyBytes).trimmed();
        if (!line.name.isEmpty()) {
            line.kind = IniLine::Entry;
            line.valueBytes = trimmedBytes(QByteArrayView(trimmed).sliced(eq + 1));
        }
    }
    return line;
}

// CR LF, LF and a lone CR each end a line.
QList<IniLine> parseFile(const QByteArray &bytes)
{
    QList<IniLine> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        if (end < bytes.size())
            end += bytes.sliced(end).startsWith("\r\n") ? 2 : 1;
        lines.append(parseLine(bytes.mid(start, end - start)));
        start = end;
    }
    return lines;
}

// Names are compared, as they are written, without the blanks around them.
bool sameName(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// [begin, end) of the first section with that name, begin at its header;
// begin < 0 when the file has none.
std::pair<qsizetype, qsizetype> findSection(const QList<IniLine> &lines, const QString &section)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != IniLine::Section || !sameName(lines[i].name, section))
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && lines[end].kind != IniLine::Section)
            ++end;
        return {i, end};
    }
    return {-1, -1};
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return !path.isEmpty() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The file's bytes before a change: empty for a file that is not there yet,
// none for one that is there but cannot be read, since writing then would
// replace every other key with the one being written.
std::optional<QByteArray> readForChange(const QString &path, QString &why)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        why = QFileInfo(path).isDir() ? QStringLiteral("已有同名的文件夹")
                                      : QStringLiteral("无法读取原有内容（%1）").arg(file.errorString());
        return std::nullopt;
    }
    return bytes;
}

QByteArray joinLines(const QList<IniLine> &lines)
{
    QByteArray out;
    for (const IniLine &line : lines)
        out += line.raw;
    return out;
}

// A new file beside the old one, renamed over it only when complete: a crash
// or a full disk leaves one whole file or the other.
QString replaceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered, so a short write is seen here and not lost in a flush
    // whose failure commit() would not notice.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return WriteFailureReason(file);
    if (file.write(bytes) != bytes.size() || file.error() != QFileDevice::NoError) {
        const QString reason = WriteFailureReason(file);
        file.cancelWriting();
        return reason;
    }
    return file.commit() ? QString() : WriteFailureReason(file);
}

// "setup.ini.lock" beside the file, locked from the reading of a change to
// its writing, so that two processes saving at once never write over each
// other's keys. The system drops the lock of a process that ends, killed or
// not, so none is ever left over; the file itself stays.
class ChangeLock
{
public:
    explicit ChangeLock(const QString &path)
    {
        const QByteArray name = QFile::encodeName(path + QStringLiteral(".lock"));
        m_fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0) {
            m_whyNot = errno == EACCES || errno == EROFS ? QStringLiteral("没有写入权限")
                                                         : QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        // A save takes milliseconds; one that holds the lock this long is stuck.
        const QDeadlineTimer deadline(5000);
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired()) {
                m_whyNot = QStringLiteral("另一个程序正在修改它");
                ::close(m_fd);
                m_fd = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    ~ChangeLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // which unlocks
    }
    ChangeLock(const ChangeLock &) = delete;
    ChangeLock &operator=(const ChangeLock &) = delete;

    bool locked() const { return m_fd >= 0; }
    const QString &whyNot() const { return m_whyNot; }

private:
    int m_fd = -1;
    QString m_whyNot;
};

// Reads the file, lets change edit its lines and writes them back when they
// differ, all under the lock. Returns why the change could not be made,
// empty when it was.
template <typename Change>
QString changeFile(const QString &path, Change change)
{
    if (path.isEmpty())
        return QStringLiteral("没有文件路径");
    const ChangeLock lock(path);
    if (!lock.locked())
        return lock.whyNot();
    QString why;
    const std::optional<QByteArray> old = readForChange(path, why);
    if (!old)
        return why;
    QList<IniLine> lines = parseFile(*old);
    change(lines);
    const QByteArray bytes = joinLines(lines);
    return bytes == *old ? QString() : replaceFile(path, bytes);
}

// The line end the file already uses; CR LF for a new file.
QByteArray lineEndingOf(const QList<IniLine> &lines)
{
    for (const IniLine &line : lines) {
        if (!line.ending.isEmpty())
            return line.ending;
    }
    return "\r\n";
}

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

// A trimmed name that is written and read back as itself: GBK can hold it
// (else it would be written as "?"), it stays on its line, a section name
// does not end its header early, and a key neither splits its entry nor
// makes the line read as a section header.
bool usableName(const QString &name, bool isKey)
{
    if (name.isEmpty() || hasLineBreak(name) || fromGbk(toGbk(name)) != name)
        return false;
    return isKey ? !name.contains(u'=') && !name.startsWith(u'[') : !name.contains(u']');
}

// One write into the lines of a file: the key's value is replaced where the
// key is, else the key goes to the end of its section, made as needed.
void applyWrite(QList<IniLine> &lines, const QByteArray &eol, const IniWrite &write)
{
    const QString section = write.section.trimmed();
    const QString key = write.key.trimmed();
    if (!usableName(section, false) || !usableName(key, true))
        return;

    // A value is one line: a line break in it would start new entries.
    QString oneLine = write.value;
    oneLine.replace(u'\r', u' ').replace(u'\n', u' ').remove(QChar(u'\0'));
    const QByteArray valueBytes = toGbk(oneLine.trimmed());

    auto [begin, end] = findSection(lines, section);
    if (begin < 0) {
        if (!lines.isEmpty() && lines.last().ending.isEmpty()) {
            lines.last().raw += eol;
            lines.last().ending = eol;
        }
        lines.append(parseLine("[" + toGbk(section) + "]" + eol));
        begin = lines.size() - 1;
        end = lines.size();
    }

    for (qsizetype i = begin + 1; i < end; ++i) {
        IniLine &line = lines[i];
        if (line.kind == IniLine::Entry && sameName(line.name, key)) {
            const QByteArray ending = line.ending.isEmpty() ? eol : line.ending;
            line = parseLine(line.keyBytes + "=" + valueBytes + ending);
            return;
        }
    }
    // After the section's last non-blank line, so blank lines keep
    // separating it from the next section.
    qsizetype at = end;
    while (at > begin + 1 && lines[at - 1].raw.trimmed().isEmpty())
        --at;
    IniLine &previous = lines[at - 1];
    if (previous.ending.isEmpty()) {
        previous.raw += eol;
        previous.ending = eol;
    }
    lines.insert(at, parseLine(toGbk(key) + "=" + valueBytes + eol));
}

// A save writes "setup.ini.XXXXXX" beside the file and renames it over the
// file; a process killed between the two leaves it behind. Looked for once
// per path and run, so owners may set the path as often as they like.
void removeLeftoverSaves(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || info.fileName().isEmpty())
        return;
    {
        static QMutex mutex;
        static QSet<QString> looked;
        const QMutexLocker lock(&mutex);
        if (looked.contains(info.absoluteFilePath()))
            return;
        looked.insert(info.absoluteFilePath());
    }
    const QString prefix = info.fileName() + u'.';
    const QDir dir = info.absoluteDir();
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (name.size() != prefix.size() + 6 || !name.startsWith(prefix))
            continue;
        const QStringView tail = QStringView(name).sliced(prefix.size());
        if (std::all_of(tail.begin(), tail.end(), [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; }))
            QFile::remove(dir.filePath(name));
    }
}

} // namespace

void ClassIniFile::setINIFileName(const QString &path)
{
    m_path = path;
    removeLeftoverSaves(path);
}

std::optional<QString> ClassIniFile::ReadIniKey(const QString &section, const QString &key) const
{
    const QList<IniLine> lines = parseFile(readFile(m_path));
    const auto [begin, end] = findSection(lines, section);
    if (begin < 0)
        return std::nullopt;
    for (qsizetype i = begin + 1; i < end; ++i) {
        const IniLine &line = lines[i];
        if (line.kind != IniLine::Entry || !sameName(line.name, key))
            continue;
        QByteArray value = trimmedBytes(capValue(line.valueBytes));
        value.replace('\0', QByteArray());
        return fromGbk(value);
    }
    return std::nullopt;
}

QString ClassIniFile::GetIniKey(const QString &section, const QString &key,
                                const QString &defaultValue) const
{
    const std::optional<QString> text = ReadIniKey(section, key);
    if (!text || text->trimmed().isEmpty())
        return defaultValue;
    return *text;
}

bool ClassIniFile::WriteIniKey(const QString &section, const QString &key, const QString &value)
{
    return WriteIniKeys({{section, key, value}});
}

bool ClassIniFile::WriteIniKeys(const QList<IniWrite> &writes)
{
    m_lastError = changeFile(m_path, [&](QList<IniLine> &lines) {
        const QByteArray eol = lineEndingOf(lines);
        for (const IniWrite &write : writes)
            applyWrite(lines, eol, write);
    });
    return m_lastError.isEmpty();
}

bool ClassIniFile::DelIniKey(const QString &section, const QString &key)
{
    m_lastError.clear();
    if (!QFileInfo::exists(m_path))
        return true; // nothing to delete, and no file to create
    m_lastError = changeFile(m_path, [&](QList<IniLine> &lines) {
        const auto [begin, end] = findSection(lines, section);
        for (qsizetype i = end - 1; begin >= 0 && i > begin; --i) {
            if (lines[i].kind == IniLine::Entry && sameName(lines[i].name, key))
                lines.removeAt(i);
        }
    });
    return m_lastError.isEmpty();
}

bool ClassIniFile::DelIniSec(const QString &section)
{
    m_lastError.clear();
    if (!QFileInfo::exists(m_path))
        return true;
    m_lastError = changeFile(m_path, [&](QList<IniLine> &lines) {
        // Every section of that name goes, so no later copy of it shows through.
        for (;;) {
            const auto [begin, end] = findSection(lines, section);
            if (begin < 0)
                break;
            lines.remove(begin, end - begin);
        }
    });
    return m_lastError.isEmpty();
}

} // namespace quorvane
