#include "ui/fee_fields.h"

#include "settings/current_rates.h"
#include "ui/form1_ui.h"
#include "ui/platform.h"

#include <QCheckBox>
#include <QLineEdit>

namespace quorvane {

FeeSettings ReadFeeFields(const Form1Ui &ui)
{
    FeeSettings fees;
    fees.buy_BrokerageRatio = ui.buy_BrokerageRatio->text();
    fees.buy_MinBrokerageRatio = ui.buy_MinBrokerageRatio->text();
    fees.StampDuty = ui.StampDuty->text();
    fees.MinStampDuty = ui.MinStampDuty->text();
    fees.TransferMoney = ui.TransferMoney->text();
    fees.MinTransferMoney = ui.MinTransferMoney->text();
    fees.buy_OtherMoney = ui.buy_OtherMoney->text();
    fees.sell_OtherMoney = ui.sell_OtherMoney->text();
    fees.Check1 = ui.Check1->isChecked() ? 1 : 0;
    fees.Check2 = ui.Check2->isChecked() ? 1 : 0;
    fees.Check3 = ui.Check3->isChecked() ? 1 : 0;
    fees.TransferByAmount = ui.TransferByAmount->isChecked() ? 1 : 0;
    return fees;
}

void ShowFeeFields(const Form1Ui &ui, const FeeSettings &fees)
{
    ui.buy_BrokerageRatio->setText(fees.buy_BrokerageRatio);
    ui.buy_MinBrokerageRatio->setText(fees.buy_MinBrokerageRatio);
    ui.StampDuty->setText(fees.StampDuty);
    ui.MinStampDuty->setText(fees.MinStampDuty);
    ui.TransferMoney->setText(fees.TransferMoney);
    ui.MinTransferMoney->setText(fees.MinTransferMoney);
    ui.buy_OtherMoney->setText(fees.buy_OtherMoney);
    ui.sell_OtherMoney->setText(fees.sell_OtherMoney);
    ui.Check1->setChecked(fees.Check1 != 0);
    ui.Check2->setChecked(fees.Check2 != 0);
    ui.Check3->setChecked(fees.Check3 != 0);
    ui.TransferByAmount->setChecked(fees.TransferByAmount != 0);
}

void CurrentRatesMenu_Click(const Form1Ui &ui, MessageBoxes &boxes, QWidget *parent)
{
    FeeSettings fees = ReadFeeFields(ui);
    const QStringList changes = UseCurrentRates(fees);
    ShowFeeFields(ui, fees);
    boxes.information(parent, QStringLiteral("提示"), CurrentRatesMessage(changes));
}

} // namespace quorvane
