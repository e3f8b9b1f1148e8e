#include "quotes/stock_list.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

using quorvane::StockListTable;

namespace {

QStringList lines(const StockListTable &table)
{
    QStringList all;
    for (const auto &entry : table.entries())
        all.append(entry.code + '|' + entry.name + '|' + entry.key);
    return all;
}

TEST(StockListTest, LoadsGbkLinesSkipsUnusableOnesAndSearchesTheStartOfCodeKeyOrNameTenAtMost)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("StockList.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringEncoder("GBK")(QStringLiteral(
        "000001 平安银行 PAYH\r\n\r\n"
        "600004 白云机场\r\n"              // two fields
        " 无代码 WDM\r\n"                  // no code
        "000002 万科Ａ WKA extra words\n"  // LF only, extra fields ignored
        "600007  空名\r\n"                 // two spaces: the name is empty, the key "空名"
        "601318 中国平安 ZGPA\r\n"
        "000063 中兴通讯 ZXTX")));        // no line end at the end
    file.close();
    const StockListTable table = StockListTable::load(file.fileName());
    EXPECT_EQ(lines(table), (QStringList{"000001|平安银行|PAYH", "000002|万科Ａ|WKA", "600007||空名",
                                         "601318|中国平安|ZGPA", "000063|中兴通讯|ZXTX"}));
    for (const QString &missing : {dir.filePath("absent.txt"), dir.path(), QString()})
        EXPECT_TRUE(StockListTable::load(missing).entries().isEmpty()) << missing.toStdString();

    // From the start of a code, key (exact in case) or name, in table order; only ASCII spaces are trimmed.
    const std::pair<const char *, QStringList> rows[] = {{"00000", {"000001 平安银行", "000002 万科Ａ"}},
        {"PA", {"000001 平安银行"}}, {"pa", {}}, {"  中", {"601318 中国平安", "000063 中兴通讯"}},
        {"平安", {"000001 平安银行"}}, {"0000011", {}}, {"601318", {"601318 中国平安"}}, {"　中", {}}};
    for (const auto &[text, found] : rows)
        EXPECT_EQ(table.search(QString::fromUtf8(text)), found) << '"' << text << '"';
    EXPECT_EQ(table.search("   ").size() + table.search(QString()).size(), 10) << "a blank box matches every entry";

    // The shipped list: every exchange, entries far past line 3000, ten lines at most.
    const StockListTable shipped = StockListTable::load(QStringLiteral(QUORVANE_SOURCE_DIR "/data/StockList.txt"));
    ASSERT_EQ(shipped.entries().size(), 5448);
    for (const auto &entry : shipped.entries())
        ASSERT_TRUE(entry.code.size() == 6 && !entry.name.isEmpty() && !entry.key.isEmpty()
                    && !entry.name.contains(QChar::ReplacementCharacter)) << entry.code.toStdString();
    EXPECT_EQ(lines(shipped).front(), "000001|平安银行|PAYH");
    EXPECT_EQ(shipped.search("GZMT"), QStringList{"600519 贵州茅台"});
    EXPECT_EQ(shipped.search("6").size(), 10);
    EXPECT_EQ(shipped.search("6").front(), "600000 浦发银行");
    EXPECT_EQ(shipped.search("688981"), QStringList{"688981 中芯国际"});
    EXPECT_EQ(shipped.search("AHFH"), QStringList{"920000 安徽凤凰"});
}

} // namespace
