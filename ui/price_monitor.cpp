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
    // A tick that falls due while a step waits for its replies is not made up.
    if (m_stepping)
        return;
    if (MonitorTick(m_form.ActiveCount, m_form.store.ActiveTime))
        monitorStep();
}

void PriceMonitor::monitorStep()
{
    const SettingsStore &store = m_form.store;
    const int index = MonitorTurn(m_form.ActiveIndex, {store.stock1, store.stock2, store.stock3});
    const QString code = index == 1 ? store.stock1 : index == 2 ? store.stock2 : store.stock3;
    const QString panelCode = m_form.PanelCode;
    m_stepping = true;
    // The run's one failover: the service that answers here serves the code box first too.
    QuoteFailover *failover = &m_form.quoteFailover;
    m_fetchThread.run<StepReplies>(
        [failover, services = m_form.quoteServices(), code, panelCode](const FetchOptions &options) {
            const auto lookUp = [&](const QString &c) -> Reply {
                if (!IsStockCode(c))
                    return QString();
                return failover->lookUp(services, c, options);
            };
            StepReplies replies;
            replies.stock = lookUp(code);
            replies.panel = lookUp(panelCode);
            return replies;
        },
        [this, index, panelCode](const StepReplies &replies) { finishStep(index, panelCode, replies); });
}

void PriceMonitor::finishStep(int index, const QString &panelCode, const StepReplies &replies)
{
    CheckPriceAlert(GetQuoteText(replies.stock), index);
    ++m_form.ActiveIndex;
    const QString panelText = GetQuoteText(replies.panel);
    // A code entered while the step was out shows its own quote, never this one.
    if (m_form.PanelCode == panelCode)
        RefreshStockInfo(panelText);
    m_stepping = false;
}

QString PriceMonitor::GetQuoteText(const Reply &reply)
{
    if (!reply) {
        ReportNetError(m_form, Modality::Modeless);
        return {};
    }
    return *reply;
}

void PriceMonitor::abandonLookUps()
{
    m_fetchThread.cancel();
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
