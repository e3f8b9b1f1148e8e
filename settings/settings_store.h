#pragma once

#include "calc/money.h"

#include <QDateTime>
#include <QString>

namespace quorvane {

class ClassIniFile;

// Section "setup": the fee-rate fields' texts as stored, and the switches.
// The defaults are the rates in force since 28 August 2023; the commission
// and its minimum are the broker's, for the user to set.
struct FeeSettings
{
    QString buy_BrokerageRatio = QStringLiteral("3.00");
    QString buy_MinBrokerageRatio = QStringLiteral("5.00");
    QString StampDuty = QStringLiteral("0.50");
    QString MinStampDuty = QStringLiteral("0.00");
    QString TransferMoney = QStringLiteral("0.01");
    QString MinTransferMoney = QStringLiteral("0.00");
    QString buy_OtherMoney = QStringLiteral("0.00");
    QString sell_OtherMoney = QStringLiteral("0.00");
    int Check1 = 1; // check-box state: 0 clear, 1 ticked (any other stored value loads as the default)
    int Check2 = 1;
    int Check3 = 1; // "京市收取"
    int TransferByAmount = 1; // the transfer fee as a rate of the trade amount
};

// Section "monitoring" and UpdateDateTime, held by the main window for the run.
struct SettingsStore
{
    QString stock1, stock2, stock3;
    Money stock1_Down, stock2_Down, stock3_Down;
    Money stock1_Up, stock2_Up, stock3_Up;        // 0: off
    QString stock1_Pct = QStringLiteral("0"), stock2_Pct = QStringLiteral("0"),
            stock3_Pct = QStringLiteral("0"); // per cent either way, as stored; 0: off
    QString IsActive = QStringLiteral("0");
    QString ActiveTime = QStringLiteral("30");
    QString HideTaskbar = QStringLiteral("0");
    QString DefaultSite = QStringLiteral("新浪财经");
    QString IsClipboard = QStringLiteral("1");
    QString IsSumSamePrice = QStringLiteral("1");
    QString showPicture = QStringLiteral("0");
    QDateTime UpdateDateTime;
};

// Section "network": where the outside services are. Read only; the keys are
// the user's to add.
struct NetworkSettings
{
    QString QuoteHost = QStringLiteral("hq.sinajs.cn");
    QString QuoteHost2 = QStringLiteral("qt.gtimg.cn"); // the second quote service; empty: none
    QString ChartHost = QStringLiteral("image.sinajs.cn");
    QString UpdateHost;  // empty: no maker's server, nothing is sent
    QString Referer = QStringLiteral("https://finance.sina.com.cn/");
};

// A flag text is on when it reads as a non-zero number ("1", "-1").
bool IsFlagOn(const QString &flag);

// UpdateDateTime as the program writes it: "2011-03-31 01:00:00", local time.
QString FormatUpdateDateTime(const QDateTime &when);
// Reads that form, a single-digit month, day or hour, "/" between the date's
// parts, or a date alone; anything else gives 2011-03-03 01:00:00.
QDateTime ParseUpdateDateTime(const QString &text);

// Each sets the ini's path to iniPath before it reads or writes. A stored text
// that does not convert to what its key holds (letters in a price, a flag or
// ActiveTime; a Check1 of 7; a negative rate or minimum) loads as the key's
// default. A stored TransferMoney without TransferByAmount is a rate per 1000
// shares, as files written before the switch existed hold it.
FeeSettings LoadFeeSettings(ClassIniFile &ini, const QString &iniPath);
// False when the file could not be written (ini.lastError() says why).
bool SaveFeeSettings(ClassIniFile &ini, const QString &iniPath, const FeeSettings &fees);
SettingsStore LoadMonitorSettings(ClassIniFile &ini, const QString &iniPath);
NetworkSettings LoadNetworkSettings(ClassIniFile &ini, const QString &iniPath);

} // namespace quorvane
