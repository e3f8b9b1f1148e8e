#pragma once

#include "money.h"

#include <optional>
#include <utility>

namespace quorvane {

// The fee inputs as the main window shows them: the eight rate texts, the three
// transfer-fee switches and the exchange label of the stock panel.
struct FeeInputs
{
    QString brokerageRatio = QStringLiteral("3.00");    // buy_BrokerageRatio, per mille
    QString minBrokerage = QStringLiteral("5.00");      // buy_MinBrokerageRatio, yuan
    QString transferMoney = QStringLiteral("1.00");     // TransferMoney, yuan per 1000 shares, or ‰ by amount
    QString minTransferMoney = QStringLiteral("1.00");  // MinTransferMoney
    QString stampDuty = QStringLiteral("1.00");         // StampDuty, per mille
    QString minStampDuty = QStringLiteral("1.00");      // MinStampDuty
    QString buyOtherMoney = QStringLiteral("0.00");     // buy_OtherMoney
    QString sellOtherMoney = QStringLiteral("0.00");    // sell_OtherMoney
    bool shanghaiTransferFee = true;                    // Check1 "沪市收取"
    bool shenzhenTransferFee = false;                   // Check2 "深市收取"
    bool beijingTransferFee = true;                     // Check3 "京市收取"
    bool transferByAmount = false;                      // TransferByAmount "按成交金额"
    QString exchange;                                   // Label53
};

// A rate text too large to use: its value does not fit, or the fee it gives
// on an amount that fits does not. Names the field (objectName).
class RateOutOfRangeError : public OutOfRangeError
{
public:
    explicit RateOutOfRangeError(QString field) : m_field(std::move(field)) {}
    const QString &field() const { return m_field; }

private:
    QString m_field;
};

// The fee rules. Reads one snapshot of the fee inputs when constructed (the
// texts must pass IsNumberText; throws RateOutOfRangeError when one does not
// fit) and keeps nothing else, so every rule is a plain function of its
// arguments. Rules throw OutOfRangeError when a result would leave Money.
class SumFunction
{
public:
    explicit SumFunction(const FeeInputs &inputs);

    Money TradeAmount(Quantity q, Money price) const;
    Money Brokerage(Quantity q, Money price) const;
    Money StampDutyFee(Quantity q, Money price) const;
    Money TransferFee(Quantity q, Money price) const;
    Money BuyFees(Quantity q, Money price) const;
    Money BuyTotal(Quantity q, Money price) const;
    Money CostPrice(Quantity q, Money price) const; // 0 for q = 0
    Money SellFees(Quantity q, Money price) const;
    Money SellNet(Quantity q, Money price) const;
    Money ProfitAndLoss(Money buyPrice, Quantity sellQuantity, Money sellPrice) const;
    // Percent of the whole buy total; 0 when that total is 0.
    Money YieldPercent(Quantity buyQuantity, Money buyPrice, Quantity sellQuantity, Money sellPrice) const;

    // The lowest price buyPrice + k × 0.01 (k ≥ 1) at which selling all q
    // shares shows a profit of 0.00 or more; none when no price does. Throws
    // OutOfRangeError when that price lies beyond Money.
    std::optional<Money> BreakEvenPrice(Quantity q, Money buyPrice) const;
    // The highest price sellPrice − k × 0.01 (k ≥ 1, not below 0) at which
    // the money received buys q shares back; none when no price does.
    std::optional<Money> BuyBackPrice(Quantity sellQuantity, Money sellPrice) const;

private:
    FeeRate m_brokerageRate;
    Money m_minBrokerage;
    FeeRate m_stampDutyRate;
    Money m_minStampDuty;
    bool m_transferByAmount = false;
    FeeRate m_transferRate; // by amount
    double m_transferPerLot = 0; // per started 100 shares
    Money m_minTransferFee;
    double m_minTransferFigure = 0;
    Money m_buyOther;
    Money m_sellOther;
    bool m_chargeTransfer = false;
    // Whether the proceeds of a sale, and the cost of a purchase, rise with
    // the price at every price: true unless rates reach 100% or more.
    bool m_proceedsRise = true;
    bool m_costRises = true;
};

} // namespace quorvane
