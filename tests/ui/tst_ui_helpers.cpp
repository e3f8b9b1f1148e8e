// The plain functions behind the window: GBK cutting, the program's folders
// and the usage report's address.

#include "ui/platform.h"
#include "ui/program_folders.h"
#include "ui/usage_report.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvane;

class UiHelpersTest : public QObject
{
    Q_OBJECT

private slots:
    void cutToGbkBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<QString>("cut");
        QTest::newRow("short text stays") << "浦发银行" << 63 << "浦发银行";
        QTest::newRow("ASCII to the byte") << QString(70, QLatin1Char('a')) << 63 << QString(63, QLatin1Char('a'));
        QTest::newRow("no half character: 32 CJK → 31") << QString(32, QChar(0x80A1)) << 63
                                                        << QString(31, QChar(0x80A1));
        QTest::newRow("a + 31 CJK fits exactly") << "a" + QString(40, QChar(0x80A1)) << 63
                                                 << "a" + QString(31, QChar(0x80A1));
        QTest::newRow("empty") << "" << 63 << "";
        QTest::newRow("surrogate pair never split") << QStringLiteral("a😀b") << 1 << "a";
    }
    void cutToGbkBytes()
    {
        QFETCH(QString, text);
        QFETCH(int, maxBytes);
        QFETCH(QString, cut);
        QCOMPARE(CutToGbkBytes(text, maxBytes), cut);
    }

    void dataFolderBesideTheProgramWhenWritable()
    {
        QTemporaryDir program, user;
        const ProgramFolders f = ResolveProgramFolders(program.path(), user.filePath("Quorvane"));
        QCOMPARE(f.dataFolder, program.path());
        QCOMPARE(f.iniPath(), program.filePath("setup.ini"));
        // The probe leaves nothing behind.
        QCOMPARE(QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 0);
        QVERIFY(!QFileInfo::exists(user.filePath("Quorvane")));
    }

    void dataFolderPerUserWhenTheProgramFolderIsReadOnly()
    {
        QTemporaryDir user;
        // Even root cannot create files in /proc.
        const ProgramFolders f = ResolveProgramFolders(QStringLiteral("/proc"), user.filePath("share/Quorvane"));
        QCOMPARE(f.dataFolder, user.filePath("share/Quorvane"));
        QVERIFY(QFileInfo(f.dataFolder).isDir());
        QVERIFY(!IsFolderWritable(QStringLiteral("/nonexistent/folder")));
    }

    void shippedFilesBesideTheProgramFirst()
    {
        QTemporaryDir program, installed;
        ProgramFolders f;
        f.programFolder = program.path();
        f.installedDataFolder = installed.path();
        QCOMPARE(f.shippedFile("StockList.txt"), program.filePath("StockList.txt"));
        QFile(installed.filePath("StockList.txt")).open(QIODevice::WriteOnly);
        QCOMPARE(f.shippedFile("StockList.txt"), installed.filePath("StockList.txt"));
        QFile(program.filePath("StockList.txt")).open(QIODevice::WriteOnly);
        QCOMPARE(f.shippedFile("StockList.txt"), program.filePath("StockList.txt"));
    }

    void usageReportUrl()
    {
        QVERIFY(UsageReportUrl(QString()).isEmpty());
        QVERIFY(UsageReportUrl(QStringLiteral("   ")).isEmpty());
        QCOMPARE(UsageReportUrl(QStringLiteral("127.0.0.1:18080")),
                 QStringLiteral("http://127.0.0.1:18080/AddStockVisitRecordToDB.aspx?str=Ver1.5"));
    }
};

QTEST_MAIN(UiHelpersTest)
#include "tst_ui_helpers.moc"
