#pragma once

#include "settings/settings_store.h"

// The two sets the kill test's saver alternates: the defaults and this one,
// which differs from them in every key.
inline quorvane::FeeSettings OtherFees()
{
    quorvane::FeeSettings fees;
    fees.buy_BrokerageRatio = QStringLiteral("2.50");
    fees.buy_MinBrokerageRatio = QStringLiteral("0.10");
    fees.StampDuty = QStringLiteral("0.40");
    fees.MinStampDuty = QStringLiteral("0.20");
    fees.TransferMoney = QStringLiteral("0.60");
    fees.MinTransferMoney = QStringLiteral("0.30");
    fees.buy_OtherMoney = QStringLiteral("7.00");
    fees.sell_OtherMoney = QStringLiteral("8.00");
    fees.Check1 = fees.Check2 = fees.Check3 = fees.TransferByAmount = 0;
    return fees;
}

// Every fee key's value as a text, in the order of the settings file.
inline QStringList FeeTexts(const quorvane::FeeSettings &f)
{
    return {f.buy_BrokerageRatio, f.buy_MinBrokerageRatio, f.StampDuty, f.MinStampDuty, f.TransferMoney,
            f.MinTransferMoney, f.buy_OtherMoney, f.sell_OtherMoney, QString::number(f.Check1),
            QString::number(f.Check2), QString::number(f.Check3), QString::number(f.TransferByAmount)};
}
