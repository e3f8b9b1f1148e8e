// One running copy: the second start hands over on a private session bus and,
// without a bus, through the lock file and socket; a dead copy's lock is taken.

#include "ui/single_instance.h"

#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvane;

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
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
        QFile stale(runtime.filePath(QStringLiteral("org.quorvane.Quorvane.lock")));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("2147483646\nquorvane\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        stale.close();

        SingleInstance first(QStringLiteral("org.quorvane.Quorvane"), runtime.path());
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QCOMPARE(first.claim(noBus), SingleInstance::Outcome::First);
        SingleInstance second(QStringLiteral("org.quorvane.Quorvane"), runtime.path());
        QCOMPARE(second.claim(noBus), SingleInstance::Outcome::HandedOver);
        QTRY_COMPARE(shown.count(), 1);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "tst_single_instance.moc"
