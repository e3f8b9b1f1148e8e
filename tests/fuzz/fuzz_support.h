#pragma once

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Every target defines this; libFuzzer calls it with its inputs, the corpus
// runner with each file of the target's corpus.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

// A failed property stops the run: libFuzzer keeps the input as a crash, the
// corpus runner's test fails.
#define FUZZ_CHECK(condition)                                                                    \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__,      \
                         #condition);                                                            \
            std::abort();                                                                        \
        }                                                                                        \
    } while (0)

// The input cut at its NUL bytes into at least `count` parts; missing parts
// are empty, and the last part keeps any further NUL bytes.
inline QList<QByteArray> FuzzParts(const std::uint8_t *data, std::size_t size, qsizetype count)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QList<QByteArray> parts;
    qsizetype start = 0;
    while (parts.size() < count - 1) {
        const qsizetype nul = input.indexOf('\0', start);
        if (nul < 0)
            break;
        parts.append(input.sliced(start, nul - start));
        start = nul + 1;
    }
    parts.append(input.sliced(start));
    while (parts.size() < count)
        parts.append(QByteArray());
    return parts;
}
