#pragma once

#include "settings/settings_store.h"

// The two sets the kill test's saver alternates: the defaults and this one, which differs in every key.
inline quorvane::FeeSettings OtherFees()
{
    return {"2.50", "0.10", "0.40", "0.20", "0.60", "0.30", "7.00", "8.00", 0, 0, 0, 0};
}

// Every fee key's value as a text, in the order of the settings file.
inline QStringList FeeTexts(const quorvane::FeeSettings &f)
{
    return {f.buy_BrokerageRatio, f.buy_MinBrokerageRatio, f.StampDuty, f.MinStampDuty, f.TransferMoney,
            f.MinTransferMoney, f.buy_OtherMoney, f.sell_OtherMoney, QString::number(f.Check1),
            QString::number(f.Check2), QString::number(f.Check3), QString::number(f.TransferByAmount)};
}
