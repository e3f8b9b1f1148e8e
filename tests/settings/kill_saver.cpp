// Saves the fee settings over and over, alternating two sets, until killed:
// "saver PATH N" starts with set N (0 the defaults, 1 the other set) and
// writes a line "saving" as each save starts, so one line more than saves completed.
// "saver PATH --count KEY N" writes KEY=1 to KEY=N, one save each, and ends.
// "saver PATH --start-only" only starts using the file, as a program start does.
#include "settings/ini_file.h"
#include "saved_fees.h"

#include <QStringEncoder>

#include <cstdio>

using namespace quorvane;

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QByteArray mode = argv[2];
    ClassIniFile ini;
    ini.setINIFileName(path);
    if (mode == "--start-only")
        return 0;
    if (mode == "--count" && argc == 5) {
        for (int n = 1; n <= QByteArray(argv[4]).toInt(); ++n)
            if (!ini.WriteIniKey("monitoring", argv[3], QString::number(n)))
                return 1;
        return 0;
    }

    const FeeSettings sets[2] = {FeeSettings(), OtherFees()};
    // The GBK converters load on first use: loaded before the first line, the
    // kills fall on the saves and not on that.
    ini.GetIniKey("setup", "StampDuty", QString());
    QStringEncoder("GBK").encode(QStringLiteral("设置"));
    for (unsigned n = mode.toUInt();; ++n) {
        std::fputs("saving\n", stdout);
        std::fflush(stdout);
        SaveFeeSettings(ini, path, sets[n % 2]);
    }
}
