#include "ui/price_monitor.h"

#include "monitor/monitor.h"
#include "quotes/quote.h"
#include "ui/form1.h"
#include "ui/stock_panel.h"

#include <QTimer>

namespace quorvane {

PriceMonitor::PriceMonitor(Form1 &form, QObject *parent) : QObject(parent), m_form(form)
{
    connect(form.ui().ActiveTimer, &QTimer::timeout, this, &PriceMonitor::ActiveTimer_Timer);
}

void PriceMonitor::ActiveTimer_Timer()
{
    // A tick that falls due while a step waits for its reply or its message
    // box is not made up.
    if (m_stepping)
        return;
    if (MonitorTick(m_form.ActiveCount, m_form.store.ActiveTime)) {
        m_stepping = true;
        monitorStep();
        m_stepping = false;
    }
}

void PriceMonitor::monitorStep()
{
    const SettingsStore &store = m_form.store;
    const int index = MonitorTurn(m_form.ActiveIndex, {store.stock1, store.stock2, store.stock3});
    const QString code = index == 1 ? store.stock1 : index == 2 ? store.stock2 : store.stock3;
    CheckPriceAlert(GetQuoteText(code), index);
    ++m_form.ActiveIndex;
    RefreshStockInfo(GetQuoteText(m_form.PanelCode));
}

QString PriceMonitor::GetQuoteText(const QString &code)
{
    if (!IsStockCode(code))
        return {};
    // The monitor works unasked: no wait cursor under the user's pointer.
    const std::optional<QString> text = LookUpQuoteFor(m_form, code, WaitCursor::Hide);
    if (!text) {
        ReportNetError(m_form);
        return {};
    }
    return *text;
}

void PriceMonitor::CheckPriceAlert(const QString &quoteText, int index)
{
    const SettingsStore &store = m_form.store;
    const std::optional<PriceAlert> alert =
        quorvane::CheckPriceAlert(quoteText, index, {m_form.LastPrice1, m_form.LastPrice2, m_form.LastPrice3},
                                  {AlertLimits{store.stock1_Down, store.stock1_Up, store.stock1_Pct},
                                   AlertLimits{store.stock2_Down, store.stock2_Up, store.stock2_Pct},
                                   AlertLimits{store.stock3_Down, store.stock3_Up, store.stock3_Pct}});
    if (!alert)
        return;
    (alert->index == 1 ? m_form.LastPrice1 : alert->index == 2 ? m_form.LastPrice2 : m_form.LastPrice3) =
        alert->price;
    if (alert->soundsAlarm && m_form.platform().soundPlayer)
        m_form.platform().soundPlayer->play(m_form.folders().shippedFile(QStringLiteral("ALARM8.WAV")));
    m_form.ShowBalloon(alert->title, alert->text, alert->soundsAlarm);
}

void PriceMonitor::RefreshStockInfo(const QString &quoteText)
{
    const ShowQuoteOutcome outcome = ShowQuote(quoteText, m_form.PanelCode, false);
    // A reply the panel cannot read leaves it as it was; the step reports nothing.
    if (!outcome.failed())
        ApplyPanelWrites(m_form, outcome.writes);
}

} // namespace quorvane
