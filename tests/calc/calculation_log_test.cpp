#include "calc/calculation_log.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

namespace quorvane {
namespace {

// The window after buying 1000 at 10.00 and selling them at 11.00.
QHash<QString, QString> exampleWindow()
{
    return {
        {"Label54", "600000"},         {"Label52", "浦发银行"},
        {"buy_Price", "￥10.00"},       {"buy_Number", "1000"},
        {"buy_TotalMoney", "￥10,000.00"}, {"buy_Brokerage", "￥30.00"},
        {"buy_TansferMoney", "￥1.00"}, {"buy_Factorage", "￥31.00"},
        {"buy_OutOfPocketExpenses", "￥10,031.00"}, {"buy_Cost", "￥10.03"},
        {"buy_BreakEven", "￥10.08"},   {"sell_Price", "￥11.00"},
        {"sell_Number", "1000"},        {"sell_TotalMoney", "￥11,000.00"},
        {"sell_Brokerage", "￥33.00"},  {"sell_TransferMoney", "￥1.00"},
        {"sell_StampDuty", "￥11.00"},  {"sell_Factorage", "￥45.00"},
        {"sell_ReceivedMoney", "￥10,955.00"}, {"sell_Yield", "9.21"},
        {"sell_ProfitAndLoss", "￥924.00"},
    };
}

ControlText lookup(const QHash<QString, QString> &window)
{
    return [window](const QString &name) { return window.value(name); };
}

QList<QByteArray> linesOf(const QByteArray &entry)
{
    QList<QByteArray> lines = entry.split('\n');
    EXPECT_EQ(lines.takeLast(), QByteArray()); // ends with CR LF
    for (QByteArray &line : lines) {
        EXPECT_TRUE(line.endsWith('\r'));
        line.chop(1);
    }
    return lines;
}

QString gbk(const QByteArray &bytes)
{
    QStringDecoder decode("GBK");
    return decode(bytes);
}

TEST(CalculationLog, SixLinesInGbkThatLineUpUnderTheirHeaders)
{
    const QList<QByteArray> lines = linesOf(BuildCalculationLog(lookup(exampleWindow())));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0].size(), 168);
    EXPECT_EQ(lines[2].size(), 184);
    EXPECT_EQ(lines[1].size(), 168); // a four-character name fills its column
    EXPECT_EQ(lines[3].size(), 184);
    EXPECT_TRUE(gbk(lines[0]).startsWith(QStringLiteral("股票代码        股票名称        买入价格")));
    EXPECT_TRUE(gbk(lines[2]).endsWith(QStringLiteral("收 益 率        盈亏金额")));
    EXPECT_EQ(lines[4], QByteArray(74, '-'));
    EXPECT_EQ(lines[5], QByteArray());

    auto spaces = [](int n) { return QString(n, u' '); };
    EXPECT_EQ(gbk(lines[1]),
              spaces(2) + "600000" + spaces(8) + QStringLiteral("浦发银行") + spaces(11) + "10.00" + spaces(12)
                  + "1000" + spaces(7) + "10,000.00" + spaces(11) + "30.00" + spaces(12) + "1.00" + spaces(11)
                  + "31.00" + spaces(7) + "10,031.00" + spaces(11) + "10.03" + spaces(11) + "10.08");
    EXPECT_TRUE(gbk(lines[3]).endsWith(spaces(7) + "10,955.00" + spaces(12) + "9.21" + spaces(10) + "924.00"));
}

TEST(CalculationLog, EmptyPanelAndLongValues)
{
    QHash<QString, QString> window = exampleWindow();
    window["Label54"] = QString();
    window["Label52"] = QStringLiteral("  ");
    window["sell_ProfitAndLoss"] = QStringLiteral("-￥1,234,567,890.00");
    window["buy_BreakEven"] = QStringLiteral("无法保本");
    QHash<QString, QString> longName = exampleWindow();
    longName["Label52"] = QStringLiteral("一二三四五六七八九十甲乙丙");

    const QList<QByteArray> lines = linesOf(BuildCalculationLog(lookup(window)));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(gbk(lines[1]).startsWith(QString(24, u' ') + QString(11, u' ') + "10.00"));
    EXPECT_TRUE(gbk(lines[1]).endsWith(QString(12, u' ') + QStringLiteral("无法保本")));
    EXPECT_TRUE(gbk(lines[3]).endsWith(QStringLiteral("9.21-1,234,567,890.00"))); // kept whole, sign and all

    const QString named = gbk(linesOf(BuildCalculationLog(lookup(longName)))[1]);
    EXPECT_TRUE(named.startsWith(QStringLiteral("  600000一二三四五六七八九十甲乙丙           10.00")));
}

TEST(CalculationLog, AppendsEntriesAndFailsSilently)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const ControlText window = lookup(exampleWindow());
    WriteCalculationLog(folder.path(), window);
    WriteCalculationLog(folder.path(), window);
    QFile log(QDir(folder.path()).filePath("Log.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray one = BuildCalculationLog(window);
    EXPECT_EQ(log.readAll(), one + one);
    log.close();

    // A folder that does not exist, and a log that is a folder: nothing happens.
    WriteCalculationLog(QDir(folder.path()).filePath("missing"), window);
    EXPECT_FALSE(QFile::exists(QDir(folder.path()).filePath("missing/Log.txt")));
    QTemporaryDir blocked;
    ASSERT_TRUE(QDir(blocked.path()).mkdir("Log.txt"));
    WriteCalculationLog(blocked.path(), window);
    WriteCalculationLog(QString(), window);
    EXPECT_TRUE(BuildCalculationLog(ControlText()).isEmpty());
}

} // namespace
} // namespace quorvane
