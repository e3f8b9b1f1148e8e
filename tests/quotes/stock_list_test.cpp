#include "quotes/stock_list.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

using quorvane::StockListTable;

namespace {

QString shippedList()
{
    return QStringLiteral(QUORVANE_SOURCE_DIR "/data/StockList.txt");
}

class StockListTest : public ::testing::Test
{
protected:
    StockListTable loadText(const QString &text)
    {
        const QString path = dir.filePath(QStringLiteral("StockList.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QStringEncoder encoder("GBK");
        file.write(encoder(text));
        file.close();
        return StockListTable::load(path);
    }

    QTemporaryDir dir;
};

TEST_F(StockListTest, LoadsGbkLinesAndSkipsUnusableOnes)
{
    const StockListTable table = loadText(QStringLiteral(
        "600000 浦发银行 PFYH\r\n"
        "\r\n"
        "600004 白云机场\r\n"              // two fields
        " 无代码 WDM\r\n"                  // no code
        "600006 东风汽车 DFQC extra words\n" // LF only, extra fields ignored
        "600007  空名\r\n"                 // two spaces: the name is empty, the key "空名"
        "600008 首创环保 SCHB"));          // no line end at the end
    ASSERT_EQ(table.entries().size(), 4);
    EXPECT_EQ(table.entries()[0].code, "600000");
    EXPECT_EQ(table.entries()[0].name, "浦发银行");
    EXPECT_EQ(table.entries()[0].key, "PFYH");
    EXPECT_EQ(table.entries()[1].key, "DFQC");
    EXPECT_EQ(table.entries()[2].name, "");
    EXPECT_EQ(table.entries()[2].key, "空名");
    EXPECT_EQ(table.entries()[3].key, "SCHB");

    EXPECT_TRUE(StockListTable::load(dir.filePath("absent.txt")).entries().isEmpty());
    EXPECT_TRUE(StockListTable::load(dir.path()).entries().isEmpty()) << "a folder is no list";
    EXPECT_TRUE(StockListTable::load(QString()).entries().isEmpty());
}

TEST_F(StockListTest, SearchMatchesTheStartOfCodeKeyOrNameExactly)
{
    StockListTable table = loadText(QStringLiteral(
        "000001 平安银行 PAYH\r\n"
        "000002 万科Ａ WKA\r\n"
        "600000 浦发银行 PFYH\r\n"
        "601318 中国平安 ZGPA\r\n"
        "000063 中兴通讯 ZXTX\r\n"));
    EXPECT_EQ(table.search("00000"), (QStringList{"000001 平安银行", "000002 万科Ａ"}))
        << "a code matches from its start only; table order";
    EXPECT_EQ(table.search("PA"), QStringList{"000001 平安银行"});
    EXPECT_EQ(table.search("pa"), QStringList{}) << "exact in case";
    EXPECT_EQ(table.search("中国"), QStringList{"601318 中国平安"});
    EXPECT_EQ(table.search("  中"), (QStringList{"601318 中国平安", "000063 中兴通讯"}));
    EXPECT_EQ(table.search("平安"), QStringList{"000001 平安银行"}) << "not inside a name";
    EXPECT_EQ(table.search("0000011"), QStringList{}) << "longer than every field";
    EXPECT_EQ(table.search("600000"), QStringList{"600000 浦发银行"});
    EXPECT_EQ(table.search("   ").size(), 5) << "blanks match every entry";
    EXPECT_EQ(table.search(QString()).size(), 5);
    EXPECT_EQ(table.search("　中"), QStringList{}) << "only ASCII spaces are trimmed";
}

TEST(ShippedStockListTest, HoldsBothExchangesBeyondThreeThousandLines)
{
    const StockListTable table = StockListTable::load(shippedList());
    ASSERT_EQ(table.entries().size(), 5166);
    EXPECT_EQ(table.entries().front().code, "000001");
    EXPECT_EQ(table.entries().front().name, "平安银行");
    EXPECT_EQ(table.entries().front().key, "PAYH");
    for (const auto &entry : table.entries()) {
        ASSERT_EQ(entry.code.size(), 6) << entry.code.toStdString();
        ASSERT_FALSE(entry.name.isEmpty()) << entry.code.toStdString();
        ASSERT_FALSE(entry.key.isEmpty()) << entry.code.toStdString();
        ASSERT_FALSE(entry.name.contains(QChar::ReplacementCharacter)) << entry.code.toStdString();
    }

    EXPECT_EQ(table.search("600519"), QStringList{"600519 贵州茅台"});
    EXPECT_EQ(table.search("GZMT"), QStringList{"600519 贵州茅台"});
    EXPECT_EQ(table.search("万科"), QStringList{"000002 万科Ａ"});
    EXPECT_EQ(table.search("6").size(), 10);
    EXPECT_EQ(table.search("6").front(), "600000 浦发银行");
    // Entries far past line 3000 are found.
    EXPECT_EQ(table.search("688981"), QStringList{"688981 中芯国际"});
    EXPECT_EQ(table.search("3003").size(), 10);
    EXPECT_EQ(table.search("ZZZZZZZ"), QStringList{});
}

} // namespace
