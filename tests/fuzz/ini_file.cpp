// A key written into any file reads back as written, every other key reads
// as before, and no value read holds a line break. Input: the file's bytes,
// then the section, key and value written, then two (section, key) probes,
// all cut at NUL bytes; names and the value are UTF-8, so they may hold
// characters GBK lacks.
#include "fuzz_support.h"

#include "settings/ini_file.h"

#include <QStringDecoder>
#include <QStringEncoder>

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QList<QByteArray> parts = FuzzParts(data, size, 8);
    const QString path = ScratchFile(QStringLiteral("setup.ini"), parts[0]);
    QString texts[7];
    for (int i = 0; i < 7; ++i)
        texts[i] = QString::fromUtf8(parts[i + 1]);
    const QString &section = texts[0], &key = texts[1], &value = texts[2];
    const auto sameName = [](const QString &a, const QString &b) {
        return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
    };
    const auto readAll = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QString Default = QStringLiteral("\x01" "default");

    ClassIniFile ini;
    ini.setINIFileName(path);
    const auto probe = [&](int i) { return ini.GetIniKey(texts[3 + 2 * i], texts[4 + 2 * i], Default); };
    const QString before[2] = {probe(0), probe(1)};
    // CR LF, LF and a lone CR all end a line: no value holds one.
    for (const QString &read : before)
        FUZZ_CHECK(!read.contains(u'\r') && !read.contains(u'\n'));

    const QByteArray old = readAll();
    ini.WriteIniKeys({{section, key, value}});
    FUZZ_CHECK(QFileInfo(path).dir().entryList(QDir::Files | QDir::Hidden)
               == (QStringList{QStringLiteral("setup.ini"), QStringLiteral("setup.ini.lock")}));
    if (readAll() != old) {
        // A value is kept on one line and trimmed; a short one that GBK holds
        // comes back exactly.
        const QString expected = QString(value).replace(u'\r', u' ').replace(u'\n', u' ').remove(QChar(u'\0')).trimmed();
        const QString read = ini.GetIniKey(section, key, Default);
        const bool exact = expected.size() <= 300 && QStringDecoder("GBK")(QStringEncoder("GBK")(expected)) == expected;
        FUZZ_CHECK(expected.isEmpty() ? read == Default : (exact ? read == expected : read != Default));
    }
    for (int i = 0; i < 2; ++i)
        FUZZ_CHECK((sameName(texts[3 + 2 * i], section) && sameName(texts[4 + 2 * i], key)) || probe(i) == before[i]);
    return 0;
}
