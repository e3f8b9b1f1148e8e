// The plain functions behind the window: GBK cutting, the program's folders
// and the usage report's address.

#include "ui/platform.h"
#include "ui/program_folders.h"
#include "ui/usage_report.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvane;

class UiHelpersTest : public QObject
{
    Q_OBJECT

private slots:
    void cutToGbkBytes()
    {
        const QChar gu(0x80A1); // 股: two GBK bytes
        QCOMPARE(CutToGbkBytes(QStringLiteral("浦发银行"), 63), QStringLiteral("浦发银行"));
        QCOMPARE(CutToGbkBytes(QString(70, u'a'), 63), QString(63, u'a'));
        QCOMPARE(CutToGbkBytes(QString(32, gu), 63), QString(31, gu)); // no half character
        QCOMPARE(CutToGbkBytes(QStringLiteral("a") + QString(40, gu), 63), QStringLiteral("a") + QString(31, gu));
        QCOMPARE(CutToGbkBytes(QStringLiteral("a😀b"), 1), QStringLiteral("a")); // nor half a surrogate pair
        QCOMPARE(CutToGbkBytes(QString(), 63), QString());
    }

    void dataFolderBesideTheProgramWhenWritableElsePerUser()
    {
        QTemporaryDir program, user;
        const ProgramFolders beside = ResolveProgramFolders(program.path(), user.filePath("Quorvane"));
        QCOMPARE(beside.dataFolder, program.path());
        QCOMPARE(beside.iniPath(), program.filePath("setup.ini"));
        // The probe leaves nothing behind.
        QVERIFY(QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
        QVERIFY(!QFileInfo::exists(user.filePath("Quorvane")));

        // Even root cannot create files in /proc.
        const ProgramFolders perUser = ResolveProgramFolders(QStringLiteral("/proc"), user.filePath("share/Quorvane"));
        QCOMPARE(perUser.dataFolder, user.filePath("share/Quorvane"));
        QVERIFY(QFileInfo(perUser.dataFolder).isDir());
        QVERIFY(!IsFolderWritable(QStringLiteral("/nonexistent/folder")));
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
