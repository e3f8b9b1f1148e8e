// Kills a process that keeps saving the fee settings at random moments: the
// file must always read as one whole set, never a mix of the two.
#include "saved_fees.h"
#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

using namespace quorvane;

TEST(SaveKillTest, AKilledSaveLeavesAllOldOrAllNewValuesTwoAtOnceKeepEachOthersKeysAndTheNextStartTidiesUp)
{
    // In memory where there is such a folder: a save there is not slowed by
    // the disk's flush, so the kills fall on the save's own steps.
    const QString memory = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? "/dev/shm" : QDir::tempPath();
    QTemporaryDir dir(memory + QStringLiteral("/quorvane-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("setup.ini"));
    ClassIniFile ini;
    ini.setINIFileName(path);
    ini.WriteIniKey("monitoring", "stock1", "600000");
    const QStringList oldSet = FeeTexts(FeeSettings()), newSet = FeeTexts(OtherFees());

    // A kill falls within the save that follows 0 to 3 completed ones, as
    // the saver reports them: both sets are seen however fast or loaded this machine is.
    QElapsedTimer timer;
    timer.start();
    for (int n = 0; n < 20; ++n)
        SaveFeeSettings(ini, path, n % 2 ? OtherFees() : FeeSettings());
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::int64_t> delay(0, timer.nsecsElapsed() / 20);
    std::uniform_int_distribution<int> savesBefore(0, 3);
    int readAsOld = 0, readAsNew = 0;
    for (int kill = 0; kill < 200; ++kill) {
        const bool holdsOld = FeeTexts(LoadFeeSettings(ini, path)) == oldSet;
        QProcess saver;
        saver.start(QStringLiteral(KILL_SAVER), {path, QString::number(holdsOld ? 1 : 0)});
        // A line "saving\n" (7 bytes) as each save starts.
        const qint64 started = 7 * (1 + savesBefore(random));
        while (saver.bytesAvailable() < started)
            ASSERT_TRUE(saver.waitForReadyRead(10000)) << "the saver stopped reporting";
        std::this_thread::sleep_for(std::chrono::nanoseconds(delay(random)));
        ::kill(static_cast<pid_t>(saver.processId()), SIGKILL);
        ASSERT_TRUE(saver.waitForFinished(10000));

        const QStringList read = FeeTexts(LoadFeeSettings(ini, path));
        ASSERT_TRUE(read == oldSet || read == newSet) << "kill " << kill << ": " << read.join(u' ').toStdString();
        (read == oldSet ? readAsOld : readAsNew) += 1;
        ASSERT_EQ(ini.GetIniKey("monitoring", "stock1", QString()), "600000");
    }
    EXPECT_TRUE(readAsOld > 0 && readAsNew > 0) << readAsOld << " read as the old set, " << readAsNew << " as the new";

    // Two processes saving at once keep each other's keys.
    QProcess a, b;
    a.start(QStringLiteral(KILL_SAVER), {path, "--count", "a", "300"});
    b.start(QStringLiteral(KILL_SAVER), {path, "--count", "b", "300"});
    ASSERT_TRUE(a.waitForFinished(60000) && b.waitForFinished(60000));
    EXPECT_EQ(a.exitCode() + b.exitCode(), 0) << "a save failed";
    EXPECT_EQ(ini.GetIniKey("monitoring", "a", QString()) + ini.GetIniKey("monitoring", "b", QString()), "300300");
    EXPECT_EQ(ini.GetIniKey("monitoring", "stock1", QString()), "600000");

    // What the next start removes, and what it leaves alone.
    for (const char *name : {"setup.ini.AbC123", "setup.ini.bak"})
        QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    QProcess start;
    start.start(QStringLiteral(KILL_SAVER), {path, QStringLiteral("--start-only")});
    ASSERT_TRUE(start.waitForFinished(10000));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"setup.ini", "setup.ini.bak", "setup.ini.lock"}));
}
