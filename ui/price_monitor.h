#pragma once

// The monitor on the main window: ActiveTimer's ticks → MonitorTick → a step
// (MonitorTurn, GetQuoteText, CheckPriceAlert's decision applied as a balloon
// and the alarm, then RefreshStockInfo for the panel's code). The decisions
// live in monitor/; this class fetches and applies them.

#include <QObject>
#include <QString>

namespace quorvane {

class Form1;

class PriceMonitor : public QObject
{
    Q_OBJECT

public:
    explicit PriceMonitor(Form1 &form, QObject *parent = nullptr);

    void ActiveTimer_Timer();
    // The quote text of a valid code; the empty text for an invalid code
    // (without a request) and for a failed request (after the network-error rule).
    QString GetQuoteText(const QString &code);
    void CheckPriceAlert(const QString &quoteText, int index);
    // ShowQuote for PanelCode, the sell price left alone.
    void RefreshStockInfo(const QString &quoteText);

private:
    void monitorStep();

    Form1 &m_form;
    bool m_stepping = false;
};

} // namespace quorvane
