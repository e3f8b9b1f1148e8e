#include "saved_fees.h"
#include "settings/ini_file.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <array>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

using namespace quorvane;

namespace {

// A setup.ini in a temporary folder, never the user's.
class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override { ini.setINIFileName(path); }
    void writeRaw(const QByteArray &bytes) { QFile f(path); ASSERT_TRUE(f.open(QIODevice::WriteOnly)); f.write(bytes); }
    void writeGbk(const QString &text) { writeRaw(QStringEncoder("GBK")(text)); }
    QByteArray readRaw() const { QFile f(path); return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(); }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("setup.ini"));
    ClassIniFile ini;
};

// The monitor's keys as texts, in the order of the settings file.
QStringList texts(const SettingsStore &s)
{
    const auto price = [](Money m) { return QString::number(MoneyToDouble(m)); };
    return {s.stock1, price(s.stock1_Down), price(s.stock2_Down), price(s.stock3_Down), price(s.stock2_Up), s.stock3_Pct,
            s.IsActive, s.ActiveTime, s.HideTaskbar, s.DefaultSite, s.IsClipboard, s.IsSumSamePrice, s.showPicture,
            FormatUpdateDateTime(s.UpdateDateTime)};
}

// Every key's default for a missing file and for a text that does not convert; what converts is kept as typed.
TEST_F(SettingsTest, LoadsDefaultsForWhatIsMissingOrDoesNotConvertAndKeepsTheRestAndReadsFlagsAndDates)
{
    const QStringList defaultFees{"3.00", "5.00", "0.50", "0.00", "0.01", "0.00", "0.00", "0.00", "1", "1", "1", "1"};
    ini.setINIFileName(QString()); // loading sets it
    EXPECT_EQ(FeeTexts(LoadFeeSettings(ini, path)), defaultFees);
    EXPECT_EQ(ini.INIFileName(), path);
    EXPECT_EQ(texts(LoadMonitorSettings(ini, path)), (QStringList{"", "0", "0", "0", "0", "0", "0", "30", "0", "新浪财经",
                                                                  "1", "1", "0", "2011-03-31 01:00:00"}));
    // A transfer rate of the file's own, without the switch, is per 1000 shares.
    ini.WriteIniKey("setup", "TransferMoney", "1.00");
    EXPECT_EQ(FeeTexts(LoadFeeSettings(ini, path)),
              (QStringList{"3.00", "5.00", "0.50", "0.00", "1.00", "0.00", "0.00", "0.00", "1", "1", "1", "0"}));

    writeGbk("[setup]\r\nCheck1=7\r\nCheck2=yes\r\nCheck3=-1\r\nTransferByAmount=2\r\nUpdateDateTime=never\r\n"
             "buy_MinBrokerageRatio=-5\r\nStampDuty=-0.50\r\nTransferMoney=-1\r\n"
             "[monitoring]\r\nstock1=600000\r\nstock1_Down=abc\r\nstock2_Down=\r\nstock3_Down= 9.5 \r\n"
             "stock2_Up=10.6\r\nstock3_Pct=five\r\nIsActive=on\r\nActiveTime=soon\r\nHideTaskbar=-1\r\n"
             "IsClipboard=0\r\nIsSumSamePrice=x\r\nshowPicture=1e9\r\nDefaultSite=不存在的网站\r\n");
    EXPECT_EQ(FeeTexts(LoadFeeSettings(ini, path)), defaultFees);
    // The site table falls back for an unknown site, not the store.
    EXPECT_EQ(texts(LoadMonitorSettings(ini, path)), (QStringList{"600000", "0", "0", "9.5", "10.6", "0", "0", "30", "-1",
                                                                  "不存在的网站", "0", "1", "0", "2011-03-03 01:00:00"}));

    // Rates round trip as typed, letters too, without touching other keys.
    writeGbk("[setup]\r\nUpdateDateTime=2024-05-06 07:08:09\r\n[monitoring]\r\nDefaultSite=东方财富\r\n");
    const FeeSettings fees{"2.5", "5.00", "abc", "0.00", "0.01", "0.00", "0.00", "￥1,000.00", 0, 1, 0, 1};
    SaveFeeSettings(ini, path, fees);
    EXPECT_EQ(FeeTexts(LoadFeeSettings(ini, path)), FeeTexts(fees));
    EXPECT_EQ(ini.GetIniKey("setup", "Check1", "") + ini.GetIniKey("setup", "Check3", ""), "00");
    EXPECT_EQ(LoadMonitorSettings(ini, path).DefaultSite, "东方财富");
    EXPECT_EQ(LoadMonitorSettings(ini, path).UpdateDateTime, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));

    // The second quote service is named by default and none when written empty.
    for (const auto &[file, host] : {std::pair{"[network]\r\n", "qt.gtimg.cn"}, {"[network]\r\nQuoteHost2=\r\n", ""},
                                     {"[network]\r\nquotehost2 = 127.0.0.1:18081 \r\n", "127.0.0.1:18081"}}) {
        writeGbk(file);
        EXPECT_EQ(LoadNetworkSettings(ini, path).QuoteHost2, host) << file;
    }
    EXPECT_EQ(LoadNetworkSettings(ini, path).QuoteHost, "hq.sinajs.cn");

    // Flags and dates in the forms written, and what is not one.
    for (const QString &on : QStringList{"1", "-1", " 2 ", QString(400, u'9')}) // beyond a double, still not zero
        EXPECT_TRUE(IsFlagOn(on)) << on.left(8).toStdString();
    for (const QString &off : QStringList{"0", "0.00", "", "on"})
        EXPECT_FALSE(IsFlagOn(off)) << off.toStdString();

    // The written form is read back in the round trip above.
    const QDateTime fallback(QDate(2011, 3, 3), QTime(1, 0));
    for (const auto &[text, parsed] : {std::pair{"2026/12/6 9:05:07", QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7))},
                                       {"2026/12/6", QDateTime(QDate(2026, 12, 6), QTime(0, 0))},
                                       {"2026-13-01 00:00:00", fallback}, {"2026-12-06 25:00:00", fallback}})
        EXPECT_EQ(ParseUpdateDateTime(text), parsed) << text;
}

// Each row: the file before (none: no file), what is read or done to it in one save, the file after.
TEST_F(SettingsTest, ReadsWritesAndDeletesChangeOnlyTheirLinesInGbkAndAFailedWriteLeavesTheOldFileWhole)
{
    using Change = std::function<void(ClassIniFile &)>;
    // Values are trimmed, names compared without case, and only the first of same-named sections is read.
    const auto reads = [](QList<std::array<const char *, 3>> rows) -> Change {
        return [=](ClassIniFile &i) {
            for (const auto &[section, key, value] : rows)
                EXPECT_EQ(i.GetIniKey(section, key, "default"), value) << section << '/' << key;
        };
    };
    const QByteArray twice = "; fees\r\n[Setup]\r\n  StampDuty =  1.50  \r\nEmpty=\r\nBlank=    \r\nInner=a  b\r\n"
                             "[monitoring]\nActiveTime=\nDefaultSite=东方财富\n[SETUP]\r\nStampDuty=9\r\nLate=4\r\n";
    const auto write = [](QList<IniWrite> writes) -> Change { return [=](ClassIniFile &i) { i.WriteIniKeys(writes); }; };
    const auto delKey = [](const char *s, const char *k) -> Change { return [=](ClassIniFile &i) { i.DelIniKey(s, k); }; };
    const auto delSection = [](const char *s) -> Change { return [=](ClassIniFile &i) { i.DelIniSec(s); }; };
    const auto edited = [](QByteArray bytes, const char *from, const char *to) { return bytes.replace(from, to); };
    const QByteArray lf = "; kept comment\n[setup]\nStampDuty=1.00\nUnknown = keep me\nnot an entry\n\n"
                          "[monitoring]\nstock1=600000\nIsActive=0";
    const QByteArray cr = "[setup]\r\nLast=5\rStampDuty=1.00\r"; // a lone CR ends a line
    const struct { QByteArray before; Change change; QByteArray after; } rows[] = { // before null: no file
        {{}, reads({{"setup", "StampDuty", "default"}}), {}},
        {twice,
         reads({{"setup", "stampduty", "1.50"}, {"SETUP", "Empty", "default"}, {"setup", "Blank", "default"},
                {"setup", "Inner", "a  b"}, {"setup", "Missing", "default"}, {"monitoring", "ActiveTime", "default"},
                {"monitoring", "StampDuty", "default"}, {"setup", "Late", "default"}}),
         twice},
        {{}, delKey("setup", "StampDuty"), {}},
        {{}, delSection("setup"), {}},
        {{}, write({{"setup", "StampDuty", "1.00"}, {"monitoring", "stock1", "600000"}, {"setup", "Check1", "1"}}),
         "[setup]\r\nStampDuty=1.00\r\nCheck1=1\r\n[monitoring]\r\nstock1=600000\r\n"},
        // The key keeps its spelling, the file its LF line ends.
        {lf, write({{"SETUP", "stampduty", "2.00"}}), edited(lf, "StampDuty=1.00", "StampDuty=2.00")},
        // A new key goes to the end of its section, before the blank line.
        {lf, write({{"setup", "MinStampDuty", "5.00"}}), edited(lf, "entry\n", "entry\nMinStampDuty=5.00\n")},
        {lf, write({{"monitoring", "ActiveTime", "60"}}), lf + "\nActiveTime=60\n"},
        {"[setup]\r\nStampDuty=1.00", write({{"monitoring", "stock1", "600000"}}),
         "[setup]\r\nStampDuty=1.00\r\n[monitoring]\r\nstock1=600000\r\n"},
        {lf, delKey("setup", "UNKNOWN"), edited(lf, "Unknown = keep me\n", "")},
        {lf, delKey("setup", "StampDuty"), edited(lf, "StampDuty=1.00\n", "")},
        {lf, delSection("Monitoring"), lf.first(lf.indexOf("[monitoring]"))},
        {twice, delSection("setup"), "; fees\r\n[monitoring]\nActiveTime=\nDefaultSite=东方财富\n"}, // every one of the name
        // Names that would not read back as written, or would make a line read as something else: nothing written.
        {cr, write({{"monitoring", "a=b", "1"}, {"x]y", "a", "1"}, {"", "a", "1"}, {" ", "a", "1"}, {"setup", "a\nb", "1"},
                    {"set\rup", "a", "1"}, {"setup", " [x", "1"}, {"setup", "ሴ", "1"}, {"ሴ", "a", "1"},
                    {"setup", "😀", "1"}, {"setup", QString(QChar(0xFFFD)), "1"}}),
         cr},
        // Names are trimmed before they are compared, and a value stays on its line.
        {cr, write({{" setup ", " stampduty\t", "2.00"}, {"monitoring", "stock1", "600000\r\n[setup]\r\nStampDuty=9"},
                    {" Monitoring", "stock1 ", "600001\n[setup]"}}),
         "[setup]\r\nLast=5\rStampDuty=2.00\r[monitoring]\r\nstock1=600001 [setup]\r\n"},
    };
    for (const auto &[before, change, after] : rows) {
        QFile::remove(path);
        if (!before.isNull())
            writeRaw(before);
        change(ini);
        EXPECT_EQ(QFile::exists(path) ? readRaw() : QByteArray(), after) << before.toStdString();
    }
    EXPECT_EQ(ini.GetIniKey(" SETUP", "StampDuty ", ""), "2.00");
    EXPECT_EQ(ini.GetIniKey("setup", "Last", ""), "5");

    // Chinese values round trip as GBK, and long ones are cut at 1023 bytes.
    QFile::remove(path);
    ini.WriteIniKey("monitoring", "DefaultSite", "新浪财经");
    EXPECT_EQ(readRaw(), QByteArray("[monitoring]\r\nDefaultSite=\xD0\xC2\xC0\xCB\xB2\xC6\xBE\xAD\r\n"));
    // 誡 is 0xD5 0x5D in GBK: its second byte (']') must not end the section name.
    ini.WriteIniKey("誡言", "名", "值");
    EXPECT_EQ(ini.GetIniKey("誡言", "名", ""), "值");
    EXPECT_TRUE(readRaw().contains("[\xD5\x5D\xD1\xD4]"));

    ini.WriteIniKey("s", "ascii", QString(1100, u'a'));
    EXPECT_EQ(ini.GetIniKey("s", "ascii", ""), QString(1023, u'a'));
    // 600 Chinese characters are 1200 GBK bytes: 511 whole ones fit, no half character.
    ini.WriteIniKey("s", "gbk", QString(600, u'股'));
    EXPECT_EQ(ini.GetIniKey("s", "gbk", ""), QString(511, u'股'));

    // A failed write leaves the old file whole.
    const QByteArray original = "[setup]\r\nStampDuty=1.00\r\n";
    writeRaw(original);
    // A file-size limit makes every write past 64 bytes fail, as a full disk would.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{64, old.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    // The first of the fee keys would still fit: a save is one write or none.
    EXPECT_FALSE(SaveFeeSettings(ini, path, FeeSettings()));
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(ini.lastError(), "磁盘空间不足");
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(readRaw(), original);
    // No half-written file is left behind, nor any other.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"setup.ini", "setup.ini.lock"}));

    // A file that is there but cannot be read is not taken for a missing one,
    // which a write would replace with its one key. (Root reads it anyway.)
    if (geteuid() != 0) {
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        ini.WriteIniKey("setup", "Check1", "1");
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        EXPECT_EQ(readRaw(), original);
    }

    // The target is a folder: it cannot be replaced, and nothing breaks.
    ini.setINIFileName(dir.path());
    EXPECT_FALSE(ini.WriteIniKey("setup", "StampDuty", "2.00"));
    EXPECT_EQ(ini.lastError(), "已有同名的文件夹");
    EXPECT_EQ(ini.GetIniKey("setup", "StampDuty", "d"), "d");
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
}

} // namespace
