#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

using quorvane::ClassIniFile;

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("setup.ini"));
        ini.setINIFileName(path);
    }

    void writeRaw(const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray readRaw() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString path;
    ClassIniFile ini;
};

TEST_F(IniFileTest, MissingFileGivesDefaultsAndFirstWriteCreatesIt)
{
    EXPECT_EQ(ini.GetIniKey("monitoring", "ActiveTime", "30"), "30");
    EXPECT_EQ(ini.GetIniKey("setup", "StampDuty", ""), "");
    ini.DelIniKey("setup", "StampDuty");
    ini.DelIniSec("setup");
    EXPECT_FALSE(QFile::exists(path)) << "reads and deletes never create the file";

    ini.WriteIniKey("setup", "StampDuty", "1.00");
    EXPECT_EQ(readRaw(), QByteArray("[setup]\r\nStampDuty=1.00\r\n"));
    ini.WriteIniKey("monitoring", "stock1", "600000");
    ini.WriteIniKey("setup", "Check1", "1");
    EXPECT_EQ(readRaw(),
              QByteArray("[setup]\r\nStampDuty=1.00\r\nCheck1=1\r\n[monitoring]\r\nstock1=600000\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"setup.ini"});
}

TEST_F(IniFileTest, ReadsTrimmedValuesCaseInsensitivelyWithDefaultsForBlanks)
{
    writeRaw("; fee rates\r\n"
             "[Setup]\r\n"
             "  StampDuty =  1.50  \r\n"
             "Empty=\r\n"
             "Blank=    \r\n"
             "Inner=a  b\r\n"
             "[monitoring]\n"
             "ActiveTime=\n"
             "DefaultSite=东方财富\n");
    EXPECT_EQ(ini.GetIniKey("setup", "stampduty", "x"), "1.50");
    EXPECT_EQ(ini.GetIniKey("SETUP", "Empty", "d"), "d");
    EXPECT_EQ(ini.GetIniKey("setup", "Blank", "d"), "d");
    EXPECT_EQ(ini.GetIniKey("setup", "Inner", "d"), "a  b");
    EXPECT_EQ(ini.GetIniKey("setup", "Missing", "d"), "d");
    EXPECT_EQ(ini.GetIniKey("monitoring", "ActiveTime", "30"), "30");
    EXPECT_EQ(ini.GetIniKey("monitoring", "StampDuty", "d"), "d") << "keys belong to their section";
    // The file holds UTF-8 here, not GBK: the value comes back garbled, never crashes.
    EXPECT_NE(ini.GetIniKey("monitoring", "DefaultSite", "d"), "东方财富");
}

TEST_F(IniFileTest, LongValuesAreCutAt1023BytesWithoutSplittingACharacter)
{
    ini.WriteIniKey("s", "ascii", QString(1100, u'a'));
    EXPECT_EQ(ini.GetIniKey("s", "ascii", ""), QString(1023, u'a'));

    // 600 Chinese characters are 1200 GBK bytes: 511 whole ones fit.
    ini.WriteIniKey("s", "gbk", QString(600, u'股'));
    EXPECT_EQ(ini.GetIniKey("s", "gbk", ""), QString(511, u'股'));
}

TEST_F(IniFileTest, ChineseValuesRoundTripAsGbk)
{
    ini.WriteIniKey("monitoring", "DefaultSite", "新浪财经");
    EXPECT_EQ(readRaw(), QByteArray("[monitoring]\r\nDefaultSite=\xD0\xC2\xC0\xCB\xB2\xC6\xBE\xAD\r\n"));
    EXPECT_EQ(ini.GetIniKey("monitoring", "DefaultSite", ""), "新浪财经");

    // 誡 is 0xD5 0x5D in GBK: its second byte (']') must not end the section name.
    ini.WriteIniKey("誡言", "名", "值");
    EXPECT_EQ(ini.GetIniKey("誡言", "名", ""), "值");
    EXPECT_TRUE(readRaw().contains("[\xD5\x5D\xD1\xD4]"));
}

TEST_F(IniFileTest, WritesAndDeletesKeepEveryOtherLine)
{
    const QByteArray original = "; kept comment\n"
                                "[setup]\n"
                                "StampDuty=1.00\n"
                                "Unknown = keep me\n"
                                "not an entry\n"
                                "\n"
                                "[monitoring]\n"
                                "stock1=600000\n"
                                "IsActive=0";
    writeRaw(original);

    ini.WriteIniKey("SETUP", "stampduty", "2.00");
    QByteArray expected = original;
    expected.replace("StampDuty=1.00", "StampDuty=2.00");
    EXPECT_EQ(readRaw(), expected) << "the key keeps its spelling, the file its LF line ends";

    ini.WriteIniKey("setup", "MinStampDuty", "5.00");
    expected.replace("not an entry\n", "not an entry\nMinStampDuty=5.00\n");
    EXPECT_EQ(readRaw(), expected) << "a new key goes to the end of its section, before the blank line";

    ini.WriteIniKey("monitoring", "ActiveTime", "60");
    expected += "\nActiveTime=60\n";
    EXPECT_EQ(readRaw(), expected);

    ini.DelIniKey("setup", "UNKNOWN");
    expected.replace("Unknown = keep me\n", "");
    EXPECT_EQ(readRaw(), expected);

    ini.DelIniSec("Monitoring");
    EXPECT_EQ(readRaw(), expected.left(expected.indexOf("[monitoring]")));
    EXPECT_EQ(ini.GetIniKey("monitoring", "ActiveTime", "30"), "30");
    EXPECT_EQ(ini.GetIniKey("setup", "StampDuty", ""), "2.00");
}

TEST_F(IniFileTest, DuplicateSectionsReadTheFirstAndDeleteAll)
{
    writeRaw("[a]\r\nk=1\r\n[b]\r\nk=2\r\n[A]\r\nk=3\r\nj=4\r\n");
    EXPECT_EQ(ini.GetIniKey("a", "k", ""), "1");
    EXPECT_EQ(ini.GetIniKey("a", "j", "none"), "none");
    ini.DelIniSec("a");
    EXPECT_EQ(readRaw(), QByteArray("[b]\r\nk=2\r\n"));
}

TEST_F(IniFileTest, AValueCannotInjectLines)
{
    ini.WriteIniKey("monitoring", "stock1", "600000\r\n[setup]\r\nStampDuty=9");
    EXPECT_EQ(ini.GetIniKey("setup", "StampDuty", "default"), "default");
    EXPECT_EQ(ini.GetIniKey("monitoring", "stock1", ""), "600000  [setup]  StampDuty=9");
    ini.WriteIniKey("monitoring", "a=b", "1");
    ini.WriteIniKey("x]y", "a", "1");
    ini.WriteIniKey("", "a", "1");
    EXPECT_EQ(readRaw().count('\n'), 2) << "unusable section or key names write nothing";
}

TEST_F(IniFileTest, AFailedWriteLeavesTheOldFileWhole)
{
    const QByteArray original = "[setup]\r\nStampDuty=1.00\r\n";
    writeRaw(original);

    // A file-size limit makes every write past 64 bytes fail, as a full disk would.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ini.WriteIniKey("setup", "buy_OtherMoney", QString(200, u'9'));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(readRaw(), original);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"setup.ini"})
        << "no half-written file is left behind";

    // The target is a folder: it cannot be replaced, and nothing breaks.
    ClassIniFile folder;
    folder.setINIFileName(dir.path());
    folder.WriteIniKey("setup", "StampDuty", "2.00");
    EXPECT_EQ(folder.GetIniKey("setup", "StampDuty", "d"), "d");
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
}

} // namespace
