#include "settings/settings_store.h"

#include "settings/ini_file.h"

#include <QDate>
#include <QTime>

#include <array>

namespace quorvane {

namespace {

const QString Setup = QStringLiteral("setup");
const QString Monitoring = QStringLiteral("monitoring");
const QString Network = QStringLiteral("network");

// True when text is a number that fits the conversions.
bool convertsToNumber(const QString &text)
{
    return NumberIfNumber(text).has_value();
}

QString numberOrDefault(const QString &text, const QString &fallback)
{
    return convertsToNumber(text) ? text : fallback;
}

Money moneyOrZero(const QString &text)
{
    return MoneyIfNumber(text).value_or(Money());
}

// The check-box state a stored text gives: 0 or 1, else the default.
int checkState(const QString &text, int fallback)
{
    if (!IsNumberText(text))
        return fallback;
    try {
        const Quantity state = CountFromText(text);
        return state == 0 || state == 1 ? state : fallback;
    } catch (const OutOfRangeError &) {
        return fallback;
    }
}

const QDateTime &badUpdateDateTime()
{
    static const QDateTime value(QDate(2011, 3, 3), QTime(1, 0, 0));
    return value;
}

} // namespace

bool IsFlagOn(const QString &flag)
{
    if (!IsNumberText(flag))
        return false;
    try {
        return NumberFromText(flag) != 0.0;
    } catch (const OutOfRangeError &) {
        return true; // too large for a double, so certainly not zero
    }
}

QString FormatUpdateDateTime(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime ParseUpdateDateTime(const QString &text)
{
    const QString trimmed = text.trimmed();
    static const std::array<QString, 4> dateTimeForms = {
        QStringLiteral("yyyy-M-d H:m:s"), QStringLiteral("yyyy/M/d H:m:s"),
        QStringLiteral("yyyy-M-d H:m"), QStringLiteral("yyyy/M/d H:m")};
    for (const QString &form : dateTimeForms) {
        const QDateTime when = QDateTime::fromString(trimmed, form);
        if (when.isValid())
            return when;
    }
    // A time of midnight is written as the date alone.
    for (const QString &form : {QStringLiteral("yyyy-M-d"), QStringLiteral("yyyy/M/d")}) {
        const QDate date = QDate::fromString(trimmed, form);
        if (date.isValid())
            return QDateTime(date, QTime(0, 0));
    }
    return badUpdateDateTime();
}

FeeSettings LoadFeeSettings(ClassIniFile &ini, const QString &iniPath)
{
    ini.setINIFileName(iniPath);
    FeeSettings fees;
    fees.buy_BrokerageRatio = ini.GetIniKey(Setup, QStringLiteral("buy_BrokerageRatio"), fees.buy_BrokerageRatio);
    fees.buy_MinBrokerageRatio =
        ini.GetIniKey(Setup, QStringLiteral("buy_MinBrokerageRatio"), fees.buy_MinBrokerageRatio);
    fees.StampDuty = ini.GetIniKey(Setup, QStringLiteral("StampDuty"), fees.StampDuty);
    fees.MinStampDuty = ini.GetIniKey(Setup, QStringLiteral("MinStampDuty"), fees.MinStampDuty);
    fees.TransferMoney = ini.GetIniKey(Setup, QStringLiteral("TransferMoney"), fees.TransferMoney);
    fees.MinTransferMoney = ini.GetIniKey(Setup, QStringLiteral("MinTransferMoney"), fees.MinTransferMoney);
    fees.buy_OtherMoney = ini.GetIniKey(Setup, QStringLiteral("buy_OtherMoney"), fees.buy_OtherMoney);
    fees.sell_OtherMoney = ini.GetIniKey(Setup, QStringLiteral("sell_OtherMoney"), fees.sell_OtherMoney);
    fees.Check1 = checkState(ini.GetIniKey(Setup, QStringLiteral("Check1"), QStringLiteral("1")), 1);
    fees.Check2 = checkState(ini.GetIniKey(Setup, QStringLiteral("Check2"), QStringLiteral("0")), 0);
    fees.Check3 = checkState(ini.GetIniKey(Setup, QStringLiteral("Check3"), QStringLiteral("1")), 1);
    fees.TransferByAmount =
        checkState(ini.GetIniKey(Setup, QStringLiteral("TransferByAmount"), QStringLiteral("0")), 0);
    return fees;
}

void SaveFeeSettings(ClassIniFile &ini, const QString &iniPath, const FeeSettings &fees)
{
    ini.setINIFileName(iniPath);
    // One replacement of the file: a save cut short leaves all old or all new rates.
    ini.WriteIniKeys({
        {Setup, QStringLiteral("buy_BrokerageRatio"), fees.buy_BrokerageRatio},
        {Setup, QStringLiteral("buy_MinBrokerageRatio"), fees.buy_MinBrokerageRatio},
        {Setup, QStringLiteral("StampDuty"), fees.StampDuty},
        {Setup, QStringLiteral("MinStampDuty"), fees.MinStampDuty},
        {Setup, QStringLiteral("TransferMoney"), fees.TransferMoney},
        {Setup, QStringLiteral("MinTransferMoney"), fees.MinTransferMoney},
        {Setup, QStringLiteral("buy_OtherMoney"), fees.buy_OtherMoney},
        {Setup, QStringLiteral("sell_OtherMoney"), fees.sell_OtherMoney},
        {Setup, QStringLiteral("Check1"), QString::number(fees.Check1)},
        {Setup, QStringLiteral("Check2"), QString::number(fees.Check2)},
        {Setup, QStringLiteral("Check3"), QString::number(fees.Check3)},
        {Setup, QStringLiteral("TransferByAmount"), QString::number(fees.TransferByAmount)},
    });
}

SettingsStore LoadMonitorSettings(ClassIniFile &ini, const QString &iniPath)
{
    ini.setINIFileName(iniPath);
    SettingsStore store;
    const QString zero = QStringLiteral("0.00");
    store.stock1 = ini.GetIniKey(Monitoring, QStringLiteral("stock1"), QString());
    store.stock2 = ini.GetIniKey(Monitoring, QStringLiteral("stock2"), QString());
    store.stock3 = ini.GetIniKey(Monitoring, QStringLiteral("stock3"), QString());
    store.stock1_Down = moneyOrZero(ini.GetIniKey(Monitoring, QStringLiteral("stock1_Down"), zero));
    store.stock2_Down = moneyOrZero(ini.GetIniKey(Monitoring, QStringLiteral("stock2_Down"), zero));
    store.stock3_Down = moneyOrZero(ini.GetIniKey(Monitoring, QStringLiteral("stock3_Down"), zero));

    auto number = [&](const QString &key, const QString &fallback) {
        return numberOrDefault(ini.GetIniKey(Monitoring, key, fallback), fallback);
    };
    store.IsActive = number(QStringLiteral("IsActive"), store.IsActive);
    store.ActiveTime = number(QStringLiteral("ActiveTime"), store.ActiveTime);
    store.HideTaskbar = number(QStringLiteral("HideTaskbar"), store.HideTaskbar);
    store.DefaultSite = ini.GetIniKey(Monitoring, QStringLiteral("DefaultSite"), store.DefaultSite);
    store.IsClipboard = number(QStringLiteral("IsClipboard"), store.IsClipboard);
    store.IsSumSamePrice = number(QStringLiteral("IsSumSamePrice"), store.IsSumSamePrice);
    store.showPicture = number(QStringLiteral("showPicture"), store.showPicture);

    store.UpdateDateTime = ParseUpdateDateTime(
        ini.GetIniKey(Setup, QStringLiteral("UpdateDateTime"), QStringLiteral("2011-03-31 01:00:00")));
    return store;
}

NetworkSettings LoadNetworkSettings(ClassIniFile &ini, const QString &iniPath)
{
    ini.setINIFileName(iniPath);
    NetworkSettings network;
    network.QuoteHost = ini.GetIniKey(Network, QStringLiteral("QuoteHost"), network.QuoteHost);
    // Written empty, it names no second service.
    network.QuoteHost2 = ini.ReadIniKey(Network, QStringLiteral("QuoteHost2")).value_or(network.QuoteHost2).trimmed();
    network.ChartHost = ini.GetIniKey(Network, QStringLiteral("ChartHost"), network.ChartHost);
    network.UpdateHost = ini.GetIniKey(Network, QStringLiteral("UpdateHost"), network.UpdateHost);
    network.Referer = ini.GetIniKey(Network, QStringLiteral("Referer"), network.Referer);
    return network;
}

} // namespace quorvane
