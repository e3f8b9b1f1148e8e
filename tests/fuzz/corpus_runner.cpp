// Without libFuzzer each target is a plain program that runs every file it is
// given (a folder stands for its files), so the committed corpus and every
// reproducer stay a test.
#include "fuzz_support.h"

#include <QDirIterator>

int main(int argc, char **argv)
{
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        if (!QFileInfo(path).isDir())
            files.append(path);
        for (QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            files.append(it.next());
    }
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...: no inputs found\n", argv[0]);
        return 2;
    }
    files.sort();
    for (const QString &name : files) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
            return 2;
        }
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size()));
    }
    std::printf("%lld inputs ran\n", static_cast<long long>(files.size()));
    return 0;
}
