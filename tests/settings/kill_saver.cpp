// Saves the fee settings over and over, alternating two sets, until killed:
// "saver PATH N" starts with set N (0 the defaults, 1 the other set) and
// reports each completed save with a line "saved".
// "saver PATH --count KEY N" writes KEY=1 to KEY=N, one save each, and ends.
// "saver PATH --start-only" only starts using the file, as a program start does.
#include "settings/ini_file.h"
#include "saved_fees.h"

#include <QStringEncoder>

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace quorvane;

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    ClassIniFile ini;
    ini.setINIFileName(path);
    if (std::strcmp(argv[2], "--start-only") == 0)
        return 0;
    if (std::strcmp(argv[2], "--count") == 0 && argc == 5) {
        for (int n = 1; n <= std::atoi(argv[4]); ++n)
            if (!ini.WriteIniKey("monitoring", argv[3], QString::number(n)))
                return 1;
        return 0;
    }

    const FeeSettings sets[2] = {FeeSettings(), OtherFees()};
    // The GBK converters load on first use: loaded before the start is
    // reported, the kills fall on the saves and not on that.
    ini.GetIniKey("setup", "StampDuty", QString());
    QStringEncoder("GBK").encode(QStringLiteral("设置"));
    std::fputs("saving\n", stdout);
    std::fflush(stdout);
    for (unsigned n = std::atoi(argv[2]);; ++n) {
        SaveFeeSettings(ini, path, sets[n % 2]);
        std::fputs("saved\n", stdout);
        std::fflush(stdout);
    }
}
