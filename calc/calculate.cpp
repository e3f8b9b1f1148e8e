#include "calculate.h"

#include <array>

namespace quorvane {

namespace {

const QString NotANumber = QStringLiteral("抱歉，请输入正确的数字");
const QString OutOfRange = QStringLiteral("抱歉，数值超出计算范围，请重新输入");
const QString Frame3Caption = QStringLiteral("卖出计算");

CalculateOutcome reject(const QString &message, const QString &field)
{
    CalculateOutcome outcome;
    outcome.rejection = CalculateRejection{message, field};
    return outcome;
}

CalculateOutcome reject(const QString &message, const char *field)
{
    return reject(message, QString::fromLatin1(field));
}

// The buy-back option: on unless the setting reads as 0. The dialog only
// stores "0" or "1"; anything unreadable counts as the default "1".
bool buyBackWanted(const QString &isSumSamePrice)
{
    if (!IsNumberText(isSumSamePrice))
        return true;
    try {
        return CountFromText(isSumSamePrice) != 0;
    } catch (const OutOfRangeError &) {
        return true; // far from 0 either way
    }
}

} // namespace

CalculateOutcome Calculate(const CalculateInputs &in)
{
    const std::array<std::pair<const QString *, const char *>, 12> numericFields{{
        {&in.fees.brokerageRatio, "buy_BrokerageRatio"},
        {&in.fees.minBrokerage, "buy_MinBrokerageRatio"},
        {&in.fees.transferMoney, "TransferMoney"},
        {&in.fees.minTransferMoney, "MinTransferMoney"},
        {&in.fees.stampDuty, "StampDuty"},
        {&in.fees.minStampDuty, "MinStampDuty"},
        {&in.fees.buyOtherMoney, "buy_OtherMoney"},
        {&in.fees.sellOtherMoney, "sell_OtherMoney"},
        {&in.buyPrice, "buy_Price"},
        {&in.buyNumber, "buy_Number"},
        {&in.sellPrice, "sell_Price"},
        {&in.sellNumber, "sell_Number"},
    }};
    for (const auto &[text, field] : numericFields) {
        if (!IsNumberText(*text))
            return reject(NotANumber, field);
    }

    Quantity bq = 0;
    Quantity sq = 0;
    Money bp;
    Money sp;
    try {
        bq = CountFromText(in.buyNumber);
    } catch (const OutOfRangeError &) {
        return reject(OutOfRange, "buy_Number");
    }
    if (bq == 0)
        return reject(QStringLiteral("抱歉，买入数量为0，请重新输入"), "buy_Number");
    if (bq < 0)
        return reject(QStringLiteral("抱歉，买入数量小于0，请重新输入"), "buy_Number");
    try {
        sq = CountFromText(in.sellNumber);
    } catch (const OutOfRangeError &) {
        return reject(OutOfRange, "sell_Number");
    }
    if (sq < 0)
        return reject(QStringLiteral("抱歉，卖出数量小于0，请重新输入"), "sell_Number");
    if (sq > bq)
        return reject(QStringLiteral("抱歉，卖出数量大于买入数量，请重新输入"), "sell_Number");

    const QString negativePrice = QStringLiteral("抱歉，价格不能小于0，请重新输入");
    try {
        bp = MoneyFromText(in.buyPrice);
    } catch (const OutOfRangeError &) {
        return reject(OutOfRange, "buy_Price");
    }
    if (bp < Money())
        return reject(negativePrice, "buy_Price");
    try {
        sp = MoneyFromText(in.sellPrice);
    } catch (const OutOfRangeError &) {
        return reject(OutOfRange, "sell_Price");
    }
    if (sp < Money())
        return reject(negativePrice, "sell_Price");

    std::optional<SumFunction> rules;
    try {
        rules.emplace(in.fees);
    } catch (const RateOutOfRangeError &error) {
        return reject(OutOfRange, error.field());
    }

    CalculateOutcome outcome;
    auto show = [&outcome](const char *field, QString text) {
        outcome.fieldTexts.append({QString::fromLatin1(field), std::move(text)});
    };

    // A result too large for Money is put down to the side's price, unless
    // a rate made the fee on an amount that fits too large.
    try {
        show("buy_TotalMoney", FormatMoney(rules->TradeAmount(bq, bp)));
        show("buy_Brokerage", FormatMoney(rules->Brokerage(bq, bp)));
        show("buy_TansferMoney", FormatMoney(rules->TransferFee(bq, bp)));
        show("buy_Factorage", FormatMoney(rules->BuyFees(bq, bp)));
        show("buy_OutOfPocketExpenses", FormatMoney(rules->BuyTotal(bq, bp)));
        show("buy_Cost", FormatMoney(rules->CostPrice(bq, bp)));
        const std::optional<Money> breakEven = rules->BreakEvenPrice(bq, bp);
        show("buy_BreakEven", breakEven ? FormatMoney(*breakEven) : QStringLiteral("无法保本"));
    } catch (const RateOutOfRangeError &error) {
        return reject(OutOfRange, error.field());
    } catch (const OutOfRangeError &) {
        return reject(OutOfRange, "buy_Price");
    }

    if (sp.isZero() || sq == 0)
        return outcome; // buy side only; the sell frame keeps what it shows

    try {
        show("sell_TotalMoney", FormatMoney(rules->TradeAmount(sq, sp)));
        show("sell_Brokerage", FormatMoney(rules->Brokerage(sq, sp)));
        show("sell_TransferMoney", FormatMoney(rules->TransferFee(sq, sp)));
        show("sell_StampDuty", FormatMoney(rules->StampDutyFee(sq, sp)));
        show("sell_Factorage", FormatMoney(rules->SellFees(sq, sp)));
        show("sell_ReceivedMoney", FormatMoney(rules->SellNet(sq, sp)));
        show("sell_ProfitAndLoss", FormatMoney(rules->ProfitAndLoss(bp, sq, sp)));
        show("sell_Yield", FormatFigure(rules->YieldPercent(bq, bp, sq, sp)));

        if (buyBackWanted(in.isSumSamePrice) && sp > bp) {
            const std::optional<Money> buyBack = rules->BuyBackPrice(sq, sp);
            outcome.frame3Caption = Frame3Caption + QStringLiteral("（持回价格：")
                                    + (buyBack ? FormatMoney(*buyBack) : QStringLiteral("无"))
                                    + QStringLiteral("）");
        } else {
            outcome.frame3Caption = Frame3Caption;
        }
    } catch (const RateOutOfRangeError &error) {
        return reject(OutOfRange, error.field());
    } catch (const OutOfRangeError &) {
        return reject(OutOfRange, "sell_Price");
    }
    outcome.logDue = true;
    return outcome;
}

} // namespace quorvane
