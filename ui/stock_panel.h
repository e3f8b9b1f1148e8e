#pragma once

// The stock side of the main window: the code box with its match list and
// refresh button, the clipboard watch, and the information panel with its
// site links and chart pop-up. A code travels: StockCode → PanelCode → quote
// lookup → ShowQuote's writes, applied here in their order → panel, ladder and
// sell price. A failed lookup reports through the network-error rule.

#include "quotes/quote.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class QLabel;
class QWidget;

namespace quorvane {

class Form1;
class TipForm;

// Applies ShowQuote's writes to the main window in their order: captions,
// the sell price's text and the value labels' colours.
void ApplyPanelWrites(Form1 &form, const QList<PanelWrite> &writes);

// The network-error message, at most once per run (NetErrorShown). The
// monitor's box leaves the window and the monitor going while it is open.
enum class Modality { Modal, Modeless };
void ReportNetError(Form1 &form, Modality modality = Modality::Modal);

// One quote lookup through the window's quote services, the other one when the
// first fails; blocks, with the
// wait cursor when the user asked for it. No value when the request fails.
enum class WaitCursor { Show, Hide };
std::optional<QString> LookUpQuoteFor(Form1 &form, const QString &code, WaitCursor cursor = WaitCursor::Show);

class StockPanel : public QObject
{
    Q_OBJECT

public:
    // Wires itself to the window's controls; the tip form is the window's child.
    explicit StockPanel(Form1 &form, QObject *parent = nullptr);
    ~StockPanel() override;

    TipForm &tipForm() const;

    // Code box and match list.
    void StockCode_Change();
    void StockCode_Click();
    // True when the key stepped through the list (and so was used up).
    bool StockCode_KeyDown(int key);
    void StockList_Click();
    void StockList_DblClick();
    void StockList_GotFocus();
    void StockList_KeyPress(const QString &character);
    void Command1_Click();

    // Clipboard watch: every change marks the clipboard as new, even with the
    // same text; the window's activation (or first showing) looks a new
    // six-digit code up once, and again while that lookup keeps failing.
    void clipboardChanged();
    void ClipboardWatch();

    // Panel links and hover.
    void valueLabel_MouseMove(QLabel *label);
    void Frame5_MouseMove();
    void Timer1_Timer();
    void valueLabel_Click();
    void Form_MouseMove();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // PanelCode is set first, then the lookup and ShowQuote in one failure
    // scope with the network-error rule; m_lastLookUpFailed tells how it went.
    void lookUpAndShow(const QString &code);
    void searchStockList(const QString &text);
    void selectListRow(int row);
    // Esc with the list open: closed, and the code box has the keyboard again.
    bool closeListByEscape(QEvent *keyPress);
    bool isValueLabel(const QObject *object) const;

    Form1 &m_form;
    QPointer<TipForm> m_tipForm;
    bool m_clipboardIsNew = true; // what is on it at start-up counts as new
    bool m_lastLookUpFailed = false;
};

} // namespace quorvane
