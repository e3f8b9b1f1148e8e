#include "settings/current_rates.h"

#include "calc/money.h"

namespace quorvane {

namespace {

// Sets a field's text; "印花税：1.00‰ → 0.50‰" when it held another value
// (a "0.5" is the 0.50 it becomes, and stays as typed).
void setText(QString &field, const QString &text, const QString &caption, const QString &unit,
             QStringList &changes)
{
    const std::optional<double> value = NumberIfNumber(field);
    if (value && *value == NumberIfNumber(text))
        return;
    changes.append(QStringLiteral("%1：%2%4 → %3%4").arg(caption, field, text, unit));
    field = text;
}

void tick(int &box, const QString &change, QStringList &changes)
{
    if (box == 1)
        return;
    changes.append(change);
    box = 1;
}

} // namespace

QStringList UseCurrentRates(FeeSettings &fees)
{
    QStringList changes;
    setText(fees.StampDuty, QStringLiteral("0.50"), QStringLiteral("印花税"), QStringLiteral("‰"), changes);
    setText(fees.MinStampDuty, QStringLiteral("0.00"), QStringLiteral("印花税最低"), QStringLiteral("元"), changes);
    setText(fees.TransferMoney, QStringLiteral("0.01"), QStringLiteral("过户费"), QStringLiteral("‰"), changes);
    setText(fees.MinTransferMoney, QStringLiteral("0.00"), QStringLiteral("过户费最低"), QStringLiteral("元"),
            changes);
    tick(fees.TransferByAmount, QStringLiteral("过户费改为按成交金额收取"), changes);
    tick(fees.Check1, QStringLiteral("沪市收取过户费"), changes);
    tick(fees.Check2, QStringLiteral("深市收取过户费"), changes);
    tick(fees.Check3, QStringLiteral("京市收取过户费"), changes);
    return changes;
}

QString CurrentRatesMessage(const QStringList &changes)
{
    const QString broker = QStringLiteral("佣金及其最低收费由券商而定，未作改动。");
    if (changes.isEmpty())
        return QStringLiteral("费率设定已是2023年8月28日起施行的费率，未作改动。\n") + broker;
    return QStringLiteral("已改为2023年8月28日起施行的费率：\n") + changes.join(u'\n') + u'\n' + broker;
}

} // namespace quorvane
