// The plain functions behind the window: GBK cutting, the program's folders,
// the usage report's address, the desktop notification's call, and the one
// running copy: the second start hands over on a private session bus and,
// without a bus, through the lock file and socket; a dead copy's lock is taken.

#include "fake_platform.h"

#include "ui/command_line.h"
#include "ui/desktop_notifications.h"
#include "ui/platform.h"
#include "ui/program_folders.h"
#include "ui/single_instance.h"
#include "ui/usage_report.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>

using namespace quorvane;
using namespace quorvane::testing;

class UiHelpersTest : public QObject
{
    Q_OBJECT

private slots:
    void cutToGbkBytesAndUsageReportUrl()
    {
        const QChar gu(0x80A1); // 股: two GBK bytes
        QCOMPARE(CutToGbkBytes(QString(70, u'a'), 63), QString(63, u'a'));
        QCOMPARE(CutToGbkBytes(QString(32, gu), 63), QString(31, gu)); // no half character
        QCOMPARE(CutToGbkBytes(QStringLiteral("a") + QString(40, gu), 63), QStringLiteral("a") + QString(31, gu));
        QCOMPARE(CutToGbkBytes(QStringLiteral("a😀b"), 1), QStringLiteral("a")); // nor half a surrogate pair

        // The usage report's address.
        QVERIFY(UsageReportUrl(QStringLiteral("   ")).isEmpty());
        QCOMPARE(UsageReportUrl(QStringLiteral("127.0.0.1:18080")),
                 QStringLiteral("http://127.0.0.1:18080/AddStockVisitRecordToDB.aspx?str=Ver1.5"));
    }

    void notificationSaysWhoseAndHowUrgent()
    {
        for (bool alarm : {true, false}) {
            const QList<QVariant> args = NotifyCall(QIcon(), QStringLiteral("浦发银行"), QStringLiteral("a"), alarm).arguments();
            const QVariantMap hints = args.value(6).toMap();
            QCOMPARE(args.value(2).toString(), QStringLiteral("org.quorvane.Quorvane")); // the icon's theme name
            QCOMPARE(hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("org.quorvane.Quorvane"));
            QCOMPARE(hints.value(QStringLiteral("urgency")), QVariant::fromValue(uchar(alarm ? 2 : 1)));
        }
    }

    void programFoldersBesideAWritableProgramElsePerUserWithTheAdministratorsDefaults()
    {
        // A system-wide data folder with the administrator's defaults, read-only as root installs them.
        QTemporaryDir program, prefix, home, system;
        WriteGbk(system.filePath("StockList.txt"), "000001 平安银行 PAYH\n");
        const QString adminIni = system.filePath("setup.ini");
        WriteGbk(adminIni, "[network]\nQuoteHost=127.0.0.1\n");
        QVERIFY(QFile::setPermissions(adminIni, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const QString user = home.filePath("quorvane");
        const UserFolders folders{home.filePath("config/quorvane"), user};

        const ProgramFolders beside = ResolveProgramFolders(program.path(), folders, {system.path()});
        QCOMPARE((QStringList{beside.userFile("Log.txt"), beside.iniPath(), beside.shippedFile("StockList.txt")}),
                 (QStringList{program.filePath("Log.txt"), program.filePath("setup.ini"),
                              system.filePath("StockList.txt")}));
        // Neither the probe nor the administrator's defaults land in a build folder.
        QVERIFY(QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
        QVERIFY(QDir(home.path()).isEmpty());
        QCOMPARE(SoundPluginPath(program.path()), program.filePath("quorvane_sound"));

        // An installed copy keeps its files per user: the installed folder is
        // writable here (as for root) and still not used.
        const QString bin = prefix.filePath("bin");
        const QString shipped = InstalledDataFolderOf(bin);
        QVERIFY(QDir().mkpath(bin) && QDir().mkpath(shipped));
        WriteGbk(QDir(shipped).filePath("StockList.txt"), "600000 浦发银行 PFYH\n");
        const ProgramFolders first = ResolveProgramFolders(bin, folders, {user, system.path()});
        QCOMPARE((QStringList{first.dataFolder, first.iniPath(), first.shippedFile("StockList.txt")}),
                 (QStringList{user, home.filePath("config/quorvane/setup.ini"),
                              QDir(shipped).filePath("StockList.txt")}));
        // The user's copy of the administrator's defaults must take the user's changes.
        QCOMPARE(ReadBytes(first.iniPath()), QByteArray("[network]\nQuoteHost=127.0.0.1\n"));
        QVERIFY(QFile::permissions(first.iniPath()) & QFile::WriteOwner);
        const QString plugin = SoundPluginPath(bin);
        QVERIFY(!plugin.startsWith(bin + u'/') && plugin.endsWith(QStringLiteral("/quorvane/quorvane_sound")));

        // Later starts keep the user's own settings; the administrator's are never written.
        WriteGbk(first.iniPath(), "[setup]\nStampDuty=0.50\n");
        const ProgramFolders later = ResolveProgramFolders(bin, folders, {user, system.path()});
        QCOMPARE(ReadBytes(later.iniPath()), QByteArray("[setup]\nStampDuty=0.50\n"));
        QCOMPARE(ReadBytes(adminIni), QByteArray("[network]\nQuoteHost=127.0.0.1\n"));

        // The stock list: the user's refreshed one while it is the newer, the
        // shipped one again once a package upgrade brings a newer one.
        const QString shippedList = QDir(shipped).filePath("StockList.txt");
        QCOMPARE(later.stockListToRead(), shippedList);
        WriteGbk(later.userStockListPath(), "920000 安徽凤凰 AHFH\n");
        QFile list(shippedList);
        QVERIFY(list.open(QIODevice::ReadWrite));
        for (const auto &[days, read] : {std::pair{-1, QDir(user).filePath("StockList.txt")}, {1, shippedList}}) {
            QVERIFY(list.setFileTime(QDateTime::currentDateTime().addDays(days), QFileDevice::FileModificationTime));
            QCOMPARE(later.stockListToRead(), read);
        }

        // Per user too where the program cannot write (even root cannot create files in /proc);
        // an old setup.ini in the data folder moves to the config folder, whole and once.
        const UserFolders perUser{home.filePath(".config/quorvane"), home.filePath(".local/share/quorvane")};
        const QString oldIni = QDir(perUser.data).filePath("setup.ini");
        QVERIFY(QDir().mkpath(perUser.data));
        const char *old = "[setup]\nbuy_BrokerageRatio=2.50\n[monitoring]\nstock1=600000\n";
        WriteGbk(oldIni, old);
        WriteGbk(QDir(perUser.data).filePath("Log.txt"), "log\n");
        const ProgramFolders moved = ResolveProgramFolders(QStringLiteral("/proc"), perUser);
        QCOMPARE(ReadBytes(moved.iniPath()), QByteArray(old));
        QVERIFY(!QFileInfo::exists(oldIni));
        QCOMPARE(ReadBytes(moved.userFile("Log.txt")), QByteArray("log\n"));

        // A setup.ini in both places: the config folder's is the one in use; the other is left alone.
        WriteGbk(oldIni, "[setup]\nStampDuty=0.50\n");
        QCOMPARE(ReadBytes(ResolveProgramFolders(QStringLiteral("/proc"), perUser).iniPath()), QByteArray(old));
        QCOMPARE(ReadBytes(oldIni), QByteArray("[setup]\nStampDuty=0.50\n"));
    }

    void commandLine()
    {
        // Whether the window starts, the exit status, and the start of what is printed.
        const std::tuple<QStringList, bool, int, const char *> rows[] = {
            {{}, true, 0, ""}, {{"-platform", "offscreen", "-reverse"}, true, 0, ""},
            {{"--version"}, false, 0, "Quorvane 1.5.389\n"}, {{"-v"}, false, 0, "Quorvane 1.5.389\n"},
            {{"--help"}, false, 0, "Usage: "},
            {{"--bogus"}, false, 2, "quorvane: Unknown option 'bogus'.\nTry 'quorvane --help' for more information.\n"}};
        for (const auto &[options, run, status, printed] : rows) {
            const CommandLineAnswer a = AnswerCommandLine(QStringList{QStringLiteral("/usr/bin/quorvane")} + options);
            const QString shown = a.standardOutput + a.standardError;
            QVERIFY2(a.run == run && a.exitCode == status
                         && (shown.isEmpty() ? !*printed : shown.startsWith(QLatin1String(printed))),
                     qPrintable(options.join(u' ')));
        }
    }

    // The desktop's opener reports whether a browser took the address.
    void urlOpenerTakesTheOpenersResult()
    {
        QTemporaryDir bin;
        const QString opener = bin.filePath("xdg-open");
        WriteGbk(opener, "#!/bin/sh\necho \"$1\" > \"$0.url\"\nexit $(cat \"$0.status\")\n");
        QVERIFY(QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toLocal8Bit() + ':' + path);
        const std::shared_ptr<UrlOpener> urls = MakeQtPlatform().urlOpener;
        for (const auto &[status, opened] : {std::pair{"3", false}, {"0", true}}) {
            WriteGbk(opener + ".status", status);
            QCOMPARE(urls->open(QUrl("http://127.0.0.1:18180/ark/index12.asp")), opened);
        }
        qputenv("PATH", path);
        QCOMPARE(ReadBytes(opener + ".url"), QByteArray("http://127.0.0.1:18180/ark/index12.asp\n"));
    }

    void secondStartOnTheBusHandsOver()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            QSKIP("no dbus-daemon");
        QProcess bus;
        bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        QVERIFY(bus.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(bus.readLine().trimmed());
        QTemporaryDir runtime;
        {
            SingleInstance first(QStringLiteral("org.quorvane.Quorvane"), runtime.path());
            SingleInstance second(QStringLiteral("org.quorvane.Quorvane"), runtime.path());
            QSignalSpy shown(&first, &SingleInstance::showRequested);
            QCOMPARE(first.claim(QDBusConnection::connectToBus(address, QStringLiteral("first"))),
                     SingleInstance::Outcome::First);
            qputenv("XDG_ACTIVATION_TOKEN", "token-2");
            QCOMPARE(second.claim(QDBusConnection::connectToBus(address, QStringLiteral("second"))),
                     SingleInstance::Outcome::HandedOver);
            qunsetenv("XDG_ACTIVATION_TOKEN");
            QTRY_COMPARE(shown.count(), 1);
            QCOMPARE(shown.at(0).at(0).toString(), QStringLiteral("token-2"));
            QVERIFY(QDir(runtime.path()).isEmpty()); // the bus alone decided
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("first"));
        QDBusConnection::disconnectFromBus(QStringLiteral("second"));
        bus.kill();
        bus.waitForFinished();
    }

    void withoutBusTheLockDecidesAndADeadOwnersLockIsTaken()
    {
        QTemporaryDir runtime;
        const QDBusConnection noBus(QStringLiteral("none"));
        // A lock of a copy that was killed: its process no longer runs.
        WriteGbk(runtime.filePath(QStringLiteral("org.quorvane.Quorvane.lock")),
                 "2147483646\nquorvane\n" + QSysInfo::machineHostName() + "\n");

        SingleInstance first(QStringLiteral("org.quorvane.Quorvane"), runtime.path());
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QCOMPARE(first.claim(noBus), SingleInstance::Outcome::First);
        SingleInstance second(QStringLiteral("org.quorvane.Quorvane"), runtime.path());
        QCOMPARE(second.claim(noBus), SingleInstance::Outcome::HandedOver);
        QTRY_COMPARE(shown.count(), 1);
    }
};

QTEST_MAIN(UiHelpersTest)
#include "tst_ui_helpers.moc"
