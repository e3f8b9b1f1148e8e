// A key written into any file reads back as written, every other key reads
// as before, and no value read holds a line break. Input: the file's bytes, then the section, key and value
// written, then two (section, key) probes, all cut at NUL bytes; names and
// the value are UTF-8, so they may hold characters GBK lacks.
#include "fuzz_support.h"

#include "settings/ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

using namespace quorvane;

namespace {

const QString Default = QStringLiteral("\x01" "default");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool sameName(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

bool gbkHolds(const QString &text)
{
    return QStringDecoder("GBK")(QStringEncoder("GBK")(text)) == text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QList<QByteArray> parts = FuzzParts(data, size, 8);
    const QString path = ScratchFile(QStringLiteral("setup.ini"), parts[0]);
    const QString section = QString::fromUtf8(parts[1]);
    const QString key = QString::fromUtf8(parts[2]);
    const QString value = QString::fromUtf8(parts[3]);
    const QList<std::pair<QString, QString>> probes = {{QString::fromUtf8(parts[4]), QString::fromUtf8(parts[5])},
                                                       {QString::fromUtf8(parts[6]), QString::fromUtf8(parts[7])}};

    ClassIniFile ini;
    ini.setINIFileName(path);
    QList<QString> before;
    for (const auto &[probeSection, probeKey] : probes) {
        before.append(ini.GetIniKey(probeSection, probeKey, Default));
        // CR LF, LF and a lone CR all end a line: no value holds one.
        FUZZ_CHECK(!before.last().contains(u'\r') && !before.last().contains(u'\n'));
    }

    const QByteArray old = readAll(path);
    ini.WriteIniKeys({{section, key, value}});
    const QByteArray now = readAll(path);
    FUZZ_CHECK(QFileInfo(path).dir().entryList(QDir::Files | QDir::Hidden).size() == 1);

    if (now != old) {
        // A value is kept on one line and trimmed; a short one that GBK holds
        // comes back exactly.
        QString expected = value;
        expected.replace(u'\r', u' ').replace(u'\n', u' ').remove(QChar(u'\0'));
        expected = expected.trimmed();
        const QString read = ini.GetIniKey(section, key, Default);
        if (expected.isEmpty())
            FUZZ_CHECK(read == Default);
        else if (expected.size() <= 300 && gbkHolds(expected))
            FUZZ_CHECK(read == expected);
        else
            FUZZ_CHECK(read != Default);
    }
    for (qsizetype i = 0; i < probes.size(); ++i) {
        const auto &[probeSection, probeKey] = probes[i];
        if (sameName(probeSection, section) && sameName(probeKey, key))
            continue;
        FUZZ_CHECK(ini.GetIniKey(probeSection, probeKey, Default) == before[i]);
    }
    return 0;
}
