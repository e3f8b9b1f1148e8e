#include "calc/calculate.h"

#include <gtest/gtest.h>

#include <QMap>

namespace quorvane {
namespace {

CalculateInputs trade(const char *buyPrice, const char *buyNumber, const char *sellPrice, const char *sellNumber)
{
    CalculateInputs in;
    in.fees.exchange = QStringLiteral("上海交易所");
    in.buyPrice = QString::fromUtf8(buyPrice);
    in.buyNumber = QString::fromUtf8(buyNumber);
    in.sellPrice = QString::fromUtf8(sellPrice);
    in.sellNumber = QString::fromUtf8(sellNumber);
    return in;
}

QMap<QString, QString> texts(const CalculateOutcome &outcome)
{
    QMap<QString, QString> map;
    for (const auto &[field, text] : outcome.fieldTexts)
        map.insert(field, text);
    return map;
}

void expectRejected(const CalculateInputs &in, const char *message, const char *field)
{
    const CalculateOutcome outcome = Calculate(in);
    ASSERT_TRUE(outcome.rejection) << field;
    EXPECT_EQ(outcome.rejection->message, QString::fromUtf8(message));
    EXPECT_EQ(outcome.rejection->focusField, QString::fromUtf8(field));
    EXPECT_TRUE(outcome.fieldTexts.isEmpty());
    EXPECT_FALSE(outcome.frame3Caption);
    EXPECT_FALSE(outcome.logDue);
}

TEST(Calculate, WorkedExampleFillsBothFramesInOrder)
{
    const CalculateOutcome outcome = Calculate(trade("￥10.00", "1,000", "￥11.00", "1000"));
    ASSERT_FALSE(outcome.rejection);
    const QList<std::pair<QString, QString>> expected{
        {"buy_TotalMoney", "￥10,000.00"},   {"buy_Brokerage", "￥30.00"},
        {"buy_TansferMoney", "￥1.00"},      {"buy_Factorage", "￥31.00"},
        {"buy_OutOfPocketExpenses", "￥10,031.00"}, {"buy_Cost", "￥10.03"},
        {"buy_BreakEven", "￥10.08"},        {"sell_TotalMoney", "￥11,000.00"},
        {"sell_Brokerage", "￥33.00"},       {"sell_TransferMoney", "￥1.00"},
        {"sell_StampDuty", "￥11.00"},       {"sell_Factorage", "￥45.00"},
        {"sell_ReceivedMoney", "￥10,955.00"}, {"sell_ProfitAndLoss", "￥924.00"},
        {"sell_Yield", "9.21"},
    };
    EXPECT_EQ(outcome.fieldTexts, expected);
    EXPECT_EQ(outcome.frame3Caption, QStringLiteral("卖出计算（持回价格：￥10.92）"));
    EXPECT_TRUE(outcome.logDue);
}

TEST(Calculate, BuyBackCaptionOnlyAboveTheBuyPriceAndWithTheOptionOn)
{
    EXPECT_EQ(Calculate(trade("10", "1000", "10", "1000")).frame3Caption, QStringLiteral("卖出计算"));
    EXPECT_EQ(Calculate(trade("10", "1000", "9.50", "1000")).frame3Caption, QStringLiteral("卖出计算"));
    CalculateInputs off = trade("10", "1000", "11", "1000");
    off.isSumSamePrice = QStringLiteral("0");
    EXPECT_EQ(Calculate(off).frame3Caption, QStringLiteral("卖出计算"));
    off.isSumSamePrice = QStringLiteral("garbled"); // counts as the default, on
    EXPECT_EQ(Calculate(off).frame3Caption, QStringLiteral("卖出计算（持回价格：￥10.92）"));

    // Received −2.00 buys nothing back.
    const CalculateOutcome none = Calculate(trade("0.01", "100", "0.05", "100"));
    EXPECT_EQ(texts(none).value("sell_ReceivedMoney"), QStringLiteral("-￥2.00"));
    EXPECT_EQ(none.frame3Caption, QStringLiteral("卖出计算（持回价格：无）"));
}

TEST(Calculate, NoSellSideLeavesTheSellFrameAlone)
{
    for (const auto &[price, number] : {std::pair{"￥0.00", "1000"}, std::pair{"￥11.00", "0"}}) {
        const CalculateOutcome outcome = Calculate(trade("10", "1000", price, number));
        ASSERT_FALSE(outcome.rejection);
        EXPECT_EQ(outcome.fieldTexts.size(), 7);
        EXPECT_EQ(outcome.fieldTexts.last().first, QStringLiteral("buy_BreakEven"));
        EXPECT_FALSE(outcome.frame3Caption);
        EXPECT_FALSE(outcome.logDue);
    }
}

TEST(Calculate, QuantitiesRoundHalvesToEvenAndMaySellAll)
{
    EXPECT_EQ(texts(Calculate(trade("1", "100.5", "0", "0"))).value("buy_TotalMoney"), QStringLiteral("￥100.00"));
    EXPECT_EQ(texts(Calculate(trade("1", "101.5", "0", "0"))).value("buy_TotalMoney"), QStringLiteral("￥102.00"));
    EXPECT_FALSE(Calculate(trade("10", "1000", "11", "1000")).rejection);
    expectRejected(trade("10", "1000", "11", "1001"), "抱歉，卖出数量大于买入数量，请重新输入", "sell_Number");
}

TEST(Calculate, RejectionsNameTheMessageAndTheField)
{
    // The window as it starts.
    expectRejected(trade("￥0.00", "0", "￥0.00", "0"), "抱歉，买入数量为0，请重新输入", "buy_Number");
    expectRejected(trade("10", "-5", "0", "0"), "抱歉，买入数量小于0，请重新输入", "buy_Number");
    expectRejected(trade("10", "1000", "11", "-100"), "抱歉，卖出数量小于0，请重新输入", "sell_Number");
    expectRejected(trade("-10", "1000", "11", "100"), "抱歉，价格不能小于0，请重新输入", "buy_Price");
    expectRejected(trade("10", "1000", "￥-11", "0"), "抱歉，价格不能小于0，请重新输入", "sell_Price");
    // A negative sell quantity is reported before a sell quantity above the buy.
    expectRejected(trade("10", "-1", "11", "-100"), "抱歉，买入数量小于0，请重新输入", "buy_Number");

    // Non-numbers in the order of the fields.
    CalculateInputs in = trade("10", "1000", "11", "");
    in.fees.brokerageRatio = QStringLiteral("3‰");
    expectRejected(in, "抱歉，请输入正确的数字", "buy_BrokerageRatio");
    in.fees.brokerageRatio = QStringLiteral("3");
    in.fees.sellOtherMoney.clear();
    expectRejected(in, "抱歉，请输入正确的数字", "sell_OtherMoney");
    in.fees.sellOtherMoney = QStringLiteral("0");
    expectRejected(in, "抱歉，请输入正确的数字", "sell_Number");
    in.fees.minTransferMoney = QStringLiteral("abc");
    in.buyPrice = QStringLiteral("x");
    expectRejected(in, "抱歉，请输入正确的数字", "MinTransferMoney");
}

TEST(Calculate, ValuesOutOfRangeAreRejectedInTheFieldThatCausedThem)
{
    const char *message = "抱歉，数值超出计算范围，请重新输入";
    expectRejected(trade("10", "2147483648", "0", "0"), message, "buy_Number");
    expectRejected(trade("10", "1000", "11", "-2,147,483,649"), message, "sell_Number");
    expectRejected(trade("922337203685478", "1", "0", "0"), message, "buy_Price");
    // Texts that fit, products that do not.
    expectRejected(trade("9999999999", "1000000", "0", "0"), message, "buy_Price");
    expectRejected(trade("10", "1000000", "9999999999", "1000000"), message, "sell_Price");
    CalculateInputs in = trade("10", "1000", "11", "1000");
    in.fees.brokerageRatio = QString(25, u'9');
    expectRejected(in, message, "buy_BrokerageRatio");
    in = trade("10", "1000", "11", "1000");
    in.fees.minStampDuty = QString(25, u'9');
    expectRejected(in, message, "MinStampDuty");
}

TEST(Calculate, DegenerateRatesGiveHonestTexts)
{
    // Nothing to pay: the yield is 0.00 rather than a division by zero.
    CalculateInputs in = trade("0", "100", "1", "100");
    in.fees.exchange.clear();
    in.fees.minBrokerage = QStringLiteral("0");
    const QMap<QString, QString> free = texts(Calculate(in));
    EXPECT_EQ(free.value("buy_OutOfPocketExpenses"), QStringLiteral("￥0.00"));
    EXPECT_EQ(free.value("sell_Yield"), QStringLiteral("0.00"));

    // Fees that eat every sale: no break-even price exists.
    in = trade("10", "1000", "0", "0");
    in.fees.brokerageRatio = QStringLiteral("700");
    in.fees.stampDuty = QStringLiteral("300");
    EXPECT_EQ(texts(Calculate(in)).value("buy_BreakEven"), QStringLiteral("无法保本"));

    // A loss of over a billion keeps its sign.
    in = trade("5000", "1000000", "3765.43", "1000000");
    const QMap<QString, QString> loss = texts(Calculate(in));
    EXPECT_TRUE(loss.value("sell_ProfitAndLoss").startsWith(QStringLiteral("-￥1,2")));
    EXPECT_TRUE(loss.value("sell_Yield").startsWith(u'-'));
}

} // namespace
} // namespace quorvane
