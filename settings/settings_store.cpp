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

// A rate or minimum; a negative one (only a hand-edited file has it) is the default.
QString rateOrDefault(const QString &text, const QString &fallback)
{
    return NumberIfNumber(text).value_or(0) < 0 ? fallback : text;
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
    auto rate = [&](const char *key, const QString &fallback) {
        return rateOrDefault(ini.GetIniKey(Setup, QLatin1String(key), fallback), fallback);
    };
    fees.buy_BrokerageRatio = rate("buy_BrokerageRatio", fees.buy_BrokerageRatio);
    fees.buy_MinBrokerageRatio = rate("buy_MinBrokerageRatio", fees.buy_MinBrokerageRatio);
    fees.StampDuty = rate("StampDuty", fees.StampDuty);
    fees.MinStampDuty = rate("MinStampDuty", fees.MinStampDuty);
    // Empty when the file has no usable transfer rate of its own.
    const QString storedTransferRate = rate("TransferMoney", QString());
    const bool ownTransferRate = !storedTransferRate.isEmpty();
    if (ownTransferRate)
        fees.TransferMoney = storedTransferRate;
    fees.MinTransferMoney = rate("MinTransferMoney", fees.MinTransferMoney);
    fees.buy_OtherMoney = ini.GetIniKey(Setup, QStringLiteral("buy_OtherMoney"), fees.buy_OtherMoney);
    fees.sell_OtherMoney = ini.GetIniKey(Setup, QStringLiteral("sell_OtherMoney"), fees.sell_OtherMoney);
    auto check = [&](const char *key, int fallback) {
        return checkState(ini.GetIniKey(Setup, QLatin1String(key), QString::number(fallback)), fallback);
    };
    fees.Check1 = check("Check1", fees.Check1);
    fees.Check2 = check("Check2", fees.Check2);
    fees.Check3 = check("Check3", fees.Check3);
    const int byAmount = ownTransferRate ? 0 : fees.TransferByAmount;
    fees.TransferByAmount = check("TransferByAmount", byAmount);
    return fees;
}

bool SaveFeeSettings(ClassIniFile &ini, const QString &iniPath, const FeeSettings &fees)
{
    ini.setINIFileName(iniPath);
    // One replacement of the file: a save cut short leaves all old or all new rates.
    return ini.WriteIniKeys({
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
    store.stock1_Up = moneyOrZero(ini.GetIniKey(Monitoring, QStringLiteral("stock1_Up"), zero));
    store.stock2_Up = moneyOrZero(ini.GetIniKey(Monitoring, QStringLiteral("stock2_Up"), zero));
    store.stock3_Up = moneyOrZero(ini.GetIniKey(Monitoring, QStringLiteral("stock3_Up"), zero));

    auto number = [&](const QString &key, const QString &fallback) {
        return numberOrDefault(ini.GetIniKey(Monitoring, key, fallback), fallback);
    };
    store.stock1_Pct = number(QStringLiteral("stock1_Pct"), store.stock1_Pct);
    store.stock2_Pct = number(QStringLiteral("stock2_Pct"), store.stock2_Pct);
    store.stock3_Pct = number(QStringLiteral("stock3_Pct"), store.stock3_Pct);
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
