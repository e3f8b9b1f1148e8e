#pragma once

#include "money.h"

#include <optional>

namespace quorvane {

// The fee inputs as the main window shows them: the eight rate texts, the two
// transfer-fee switches and the exchange label of the stock panel.
struct FeeInputs
{
    QString brokerageRatio = QStringLiteral("3.00");    // buy_BrokerageRatio, per mille
    QString minBrokerage = QStringLiteral("5.00");      // buy_MinBrokerageRatio, yuan
    QString transferMoney = QStringLiteral("1.00");     // TransferMoney, yuan per 1000 shares
    QString minTransferMoney = QStringLiteral("1.00");  // MinTransferMoney
    QString stampDuty = QStringLiteral("1.00");         // StampDuty, per mille
    QString minStampDuty = QStringLiteral("1.00");      // MinStampDuty
    QString buyOtherMoney = QStringLiteral("0.00");     // buy_OtherMoney
    QString sellOtherMoney = QStringLiteral("0.00");    // sell_OtherMoney
    bool shanghaiTransferFee = true;                    // Check1 "沪市收取"
    bool shenzhenTransferFee = false;                   // Check2 "深市收取"
    QString exchange;                                   // Label53
};

} // namespace quorvane
