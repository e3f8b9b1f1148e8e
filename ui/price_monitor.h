#pragma once

// The monitor on the main window: ActiveTimer's ticks → MonitorTick → a step.
// A step picks its stock (MonitorTurn) and hands both lookups (that stock's
// and the panel's code) to a thread of its own, so the window never waits for
// the quote services. When the replies are back, the step's decisions are
// applied here in their order: the network-error rule, CheckPriceAlert's
// balloon and alarm, the turn moved on, RefreshStockInfo for the panel. The
// decisions live in monitor/; this class fetches and applies them.

#include "quotes/fetch_thread.h"

#include <QObject>
#include <QString>

#include <optional>

namespace quorvane {

class Form1;

class PriceMonitor : public QObject
{
    Q_OBJECT

public:
    explicit PriceMonitor(Form1 &form, QObject *parent = nullptr);

    void ActiveTimer_Timer();
    // A step waits for its replies; ticks meanwhile start no other step.
    bool isStepping() const { return m_stepping; }
    void CheckPriceAlert(const QString &quoteText, int index);
    // ShowQuote for PanelCode, the sell price left alone.
    void RefreshStockInfo(const QString &quoteText);
    // Ends the lookups in flight at once; no step finishes afterwards.
    void abandonLookUps();

private:
    // A lookup's reply: the empty text for an invalid code (no request made),
    // none for a failed request.
    using Reply = std::optional<QString>;
    struct StepReplies
    {
        Reply stock, panel;
    };

    void monitorStep();
    void finishStep(int index, const QString &panelCode, const StepReplies &replies);
    // The reply's text; for a failed request the empty text, after the
    // network-error rule (a box that does not stop the monitor).
    QString GetQuoteText(const Reply &reply);

    Form1 &m_form;
    FetchThread m_fetchThread;
    bool m_stepping = false;
};

} // namespace quorvane
