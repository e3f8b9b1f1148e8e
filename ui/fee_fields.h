#pragma once

// The fee-rate fields and transfer-fee switches of the main window, moved to
// and from their setup.ini form, and the command that sets today's rates.

#include "settings/settings_store.h"

class QWidget;

namespace quorvane {

class MessageBoxes;
struct Form1Ui;

FeeSettings ReadFeeFields(const Form1Ui &ui);
void ShowFeeFields(const Form1Ui &ui, const FeeSettings &fees);

// "使用现行费率": fills in the rates and tells the user what changed.
void CurrentRatesMenu_Click(const Form1Ui &ui, MessageBoxes &boxes, QWidget *parent);

} // namespace quorvane
