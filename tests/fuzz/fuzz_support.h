#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Every target defines this; libFuzzer calls it with its inputs, the corpus
// runner with each file of the target's corpus.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

// A failed property stops the run: libFuzzer keeps the input as a crash, the
// corpus runner's test fails.
#define FUZZ_CHECK(condition)                                                                          \
    ((condition) ? void()                                                                              \
     : (std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__, #condition), std::abort()))

// The input cut at its NUL bytes into at least `count` parts; missing parts
// are empty, and the last part keeps any further NUL bytes.
inline QList<QByteArray> FuzzParts(const std::uint8_t *data, std::size_t size, qsizetype count)
{
    QList<QByteArray> parts = QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)).split('\0');
    for (; parts.size() > count; parts.removeAt(count))
        parts[count - 1] += '\0' + parts[count];
    parts.resize(count);
    return parts;
}

// A file of the given name in a folder of the run's own, in memory where there
// is such a folder (a file on disk is flushed at each save), with `bytes` as
// its whole content.
inline QString ScratchFile(const QString &name, const QByteArray &bytes)
{
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/quorvane-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/quorvane-fuzz-XXXXXX"));
    const QString path = dir.filePath(name);
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
    return path;
}
