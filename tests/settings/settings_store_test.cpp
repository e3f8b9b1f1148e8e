#include "settings/settings_store.h"

#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

using namespace quorvane;

namespace {

class SettingsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("setup.ini"));
    }

    void writeIni(const QString &text)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QStringEncoder gbk("GBK");
        f.write(gbk(text));
    }

    QTemporaryDir dir;
    QString path;
    ClassIniFile ini;
};

TEST_F(SettingsStoreTest, AMissingFileGivesEveryDefaultAndIsNotCreated)
{
    const FeeSettings fees = LoadFeeSettings(ini, path);
    EXPECT_EQ(fees.buy_BrokerageRatio, "3.00");
    EXPECT_EQ(fees.buy_MinBrokerageRatio, "5.00");
    EXPECT_EQ(fees.StampDuty, "1.00");
    EXPECT_EQ(fees.MinStampDuty, "1.00");
    EXPECT_EQ(fees.TransferMoney, "1.00");
    EXPECT_EQ(fees.MinTransferMoney, "1.00");
    EXPECT_EQ(fees.buy_OtherMoney, "0.00");
    EXPECT_EQ(fees.sell_OtherMoney, "0.00");
    EXPECT_EQ(fees.Check1, 1);
    EXPECT_EQ(fees.Check2, 0);
    EXPECT_EQ(ini.INIFileName(), path);

    const SettingsStore store = LoadMonitorSettings(ini, path);
    EXPECT_EQ(store.stock1, "");
    EXPECT_TRUE(store.stock1_Down.isZero());
    EXPECT_FALSE(IsFlagOn(store.IsActive));
    EXPECT_EQ(store.ActiveTime, "30");
    EXPECT_EQ(store.DefaultSite, "新浪财经");
    EXPECT_TRUE(IsFlagOn(store.IsClipboard));
    EXPECT_TRUE(IsFlagOn(store.IsSumSamePrice));
    EXPECT_FALSE(IsFlagOn(store.showPicture));
    EXPECT_FALSE(IsFlagOn(store.HideTaskbar));
    EXPECT_EQ(store.UpdateDateTime, QDateTime(QDate(2011, 3, 31), QTime(1, 0, 0)));

    const NetworkSettings network = LoadNetworkSettings(ini, path);
    EXPECT_EQ(network.QuoteHost, "hq.sinajs.cn");
    EXPECT_EQ(network.ChartHost, "image.sinajs.cn");
    EXPECT_EQ(network.UpdateHost, "");
    EXPECT_EQ(network.Referer, "https://finance.sina.com.cn/");

    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(SettingsStoreTest, FeeRatesRoundTripAsTypedWithoutTouchingOtherKeys)
{
    writeIni("[setup]\r\nUpdateDateTime=2024-05-06 07:08:09\r\n"
             "[monitoring]\r\nDefaultSite=东方财富\r\n");
    FeeSettings fees;
    fees.buy_BrokerageRatio = "2.5";
    fees.StampDuty = "abc"; // letters are stored and restored unchanged
    fees.sell_OtherMoney = "￥1,000.00";
    fees.Check1 = 0;
    fees.Check2 = 1;
    SaveFeeSettings(ini, path, fees);

    const FeeSettings loaded = LoadFeeSettings(ini, path);
    EXPECT_EQ(loaded.buy_BrokerageRatio, "2.5");
    EXPECT_EQ(loaded.StampDuty, "abc");
    EXPECT_EQ(loaded.sell_OtherMoney, "￥1,000.00");
    EXPECT_EQ(loaded.MinStampDuty, "1.00");
    EXPECT_EQ(loaded.Check1, 0);
    EXPECT_EQ(loaded.Check2, 1);

    const SettingsStore store = LoadMonitorSettings(ini, path);
    EXPECT_EQ(store.DefaultSite, "东方财富");
    EXPECT_EQ(store.UpdateDateTime, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));
    EXPECT_EQ(ini.GetIniKey("setup", "Check1", ""), "0");
}

TEST_F(SettingsStoreTest, TextsThatDoNotConvertLoadAsTheKeysDefaults)
{
    writeIni("[setup]\r\n"
             "Check1=7\r\n"
             "Check2=yes\r\n"
             "UpdateDateTime=never\r\n"
             "[monitoring]\r\n"
             "stock1=600000\r\n"
             "stock1_Down=abc\r\n"
             "stock2_Down=\r\n"
             "stock3_Down= 9.5 \r\n"
             "IsActive=on\r\n"
             "ActiveTime=soon\r\n"
             "HideTaskbar=-1\r\n"
             "IsClipboard=0\r\n"
             "IsSumSamePrice=x\r\n"
             "showPicture=1e9\r\n"
             "DefaultSite=不存在的网站\r\n");
    const FeeSettings fees = LoadFeeSettings(ini, path);
    EXPECT_EQ(fees.Check1, 1);
    EXPECT_EQ(fees.Check2, 0);

    const SettingsStore store = LoadMonitorSettings(ini, path);
    EXPECT_EQ(store.stock1, "600000");
    EXPECT_TRUE(store.stock1_Down.isZero());
    EXPECT_TRUE(store.stock2_Down.isZero());
    EXPECT_EQ(store.stock3_Down, Money::fromUnits(95000));
    EXPECT_EQ(store.IsActive, "0");
    EXPECT_EQ(store.ActiveTime, "30");
    EXPECT_EQ(store.HideTaskbar, "-1");
    EXPECT_TRUE(IsFlagOn(store.HideTaskbar));
    EXPECT_FALSE(IsFlagOn(store.IsClipboard));
    EXPECT_EQ(store.IsSumSamePrice, "1");
    EXPECT_EQ(store.showPicture, "0") << "not a number text";
    EXPECT_EQ(store.DefaultSite, "不存在的网站") << "the site table falls back, not the store";
    EXPECT_EQ(store.UpdateDateTime, QDateTime(QDate(2011, 3, 3), QTime(1, 0, 0)));
}

TEST(UpdateDateTimeTest, ReadsTheWrittenFormAndTheUsualDateForms)
{
    const QDateTime when(QDate(2026, 12, 6), QTime(9, 5, 7));
    EXPECT_EQ(FormatUpdateDateTime(when), "2026-12-06 09:05:07");
    EXPECT_EQ(ParseUpdateDateTime(FormatUpdateDateTime(when)), when);
    EXPECT_EQ(ParseUpdateDateTime("2026/12/6 9:05:07"), when);
    EXPECT_EQ(ParseUpdateDateTime("2026/12/6"), QDateTime(QDate(2026, 12, 6), QTime(0, 0)));
    const QDateTime fallback(QDate(2011, 3, 3), QTime(1, 0, 0));
    EXPECT_EQ(ParseUpdateDateTime("2026-13-01 00:00:00"), fallback);
    EXPECT_EQ(ParseUpdateDateTime("2026-12-06 25:00:00"), fallback);
}

TEST(IsFlagOnTest, ANonZeroNumberIsOn)
{
    EXPECT_TRUE(IsFlagOn("1"));
    EXPECT_TRUE(IsFlagOn("-1"));
    EXPECT_TRUE(IsFlagOn(" 2 "));
    EXPECT_TRUE(IsFlagOn(QString(400, u'9'))) << "beyond a double, still not zero";
    EXPECT_FALSE(IsFlagOn("0"));
    EXPECT_FALSE(IsFlagOn("0.00"));
    EXPECT_FALSE(IsFlagOn(""));
    EXPECT_FALSE(IsFlagOn("on"));
}

} // namespace
