#include "ui/stock_panel.h"

#include "quotes/finance_sites.h"
#include "quotes/http_fetch.h"
#include "settings/settings_store.h"
#include "ui/busy_cursor.h"
#include "ui/form1.h"
#include "ui/stock_list_update.h"
#include "ui/text_colours.h"
#include "ui/tip_form.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace quorvane {

namespace {

// 0 for the scheme's own window text.
unsigned DesignRgbOf(QuoteColour colour)
{
    if (const std::optional<Rgb> rgb = QuoteColourRgb(colour))
        return unsigned(rgb->red) << 16 | unsigned(rgb->green) << 8 | unsigned(rgb->blue);
    return 0;
}

} // namespace

void ApplyPanelWrites(Form1 &form, const QList<PanelWrite> &writes)
{
    const Form1Ui &ui = form.ui();
    for (const PanelWrite &write : writes) {
        if (write.objectName == u"sell_Price") {
            if (write.kind == PanelWrite::Kind::Text)
                ui.sell_Price->setText(write.text);
            continue;
        }
        auto *label = form.findChild<QLabel *>(write.objectName);
        if (!label)
            continue;
        if (write.kind == PanelWrite::Kind::Text) {
            label->setText(write.text);
        } else {
            SetDesignTextColour(label, DesignRgbOf(write.colour));
        }
    }
}

void ReportNetError(Form1 &form, Modality modality)
{
    if (form.NetErrorShown)
        return;
    form.NetErrorShown = true;
    const QString text = QStringLiteral("联网出错，无法取到股票信息，请检查网络是否正常连接！");
    if (modality == Modality::Modal)
        form.platform().messageBoxes->plain(&form, text);
    else
        form.platform().messageBoxes->plainModeless(&form, text);
}

std::optional<QString> LookUpQuoteFor(Form1 &form, const QString &code, WaitCursor cursor)
{
    std::optional<BusyCursor> busy;
    if (cursor == WaitCursor::Show)
        busy.emplace();
    return form.quoteFailover.lookUp(form.quoteServices(), code, {});
}

StockPanel::StockPanel(Form1 &form, QObject *parent)
    : QObject(parent), m_form(form), m_tipForm(new TipForm(form))
{
    const Form1Ui &ui = form.ui();
    connect(ui.StockCode, &QLineEdit::textChanged, this, &StockPanel::StockCode_Change);
    connect(ui.Command1, &QPushButton::clicked, this, &StockPanel::Command1_Click);
    // A line selected by the mouse, a key or the program is a click.
    connect(ui.StockList, &QListWidget::itemSelectionChanged, this, &StockPanel::StockList_Click);
    connect(ui.Timer1, &QTimer::timeout, this, &StockPanel::Timer1_Timer);

    ui.StockCode->installEventFilter(this);
    ui.StockList->installEventFilter(this);
    ui.StockList->viewport()->installEventFilter(this);

    for (QLabel *label : {ui.Label52, ui.Label53, ui.Label54, ui.Label55}) {
        label->setCursor(Qt::PointingHandCursor);
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }
    // Moves over the captions stay there: they neither hide the chart nor link.
    for (QLabel *label : {ui.Label5, ui.Label6, ui.Label7, ui.Label8}) {
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }
    ui.Frame5->setMouseTracking(true);
    ui.Frame5->installEventFilter(this);
    if (QWidget *central = form.centralWidget()) {
        central->setMouseTracking(true);
        central->installEventFilter(this);
    }
    form.installEventFilter(this);
    form.platform().clipboard->setChangeHandler([this] { clipboardChanged(); });
}

StockPanel::~StockPanel()
{
    m_form.platform().clipboard->setChangeHandler({});
}

TipForm &StockPanel::tipForm() const
{
    return *m_tipForm;
}

void StockPanel::lookUpAndShow(const QString &code)
{
    m_form.PanelCode = code;
    const std::optional<QString> quoteText = LookUpQuoteFor(m_form, code);
    m_lastLookUpFailed = !quoteText;
    if (!quoteText) {
        ApplyPanelWrites(m_form, ShowCodeOnly(code));
        ReportNetError(m_form);
        return;
    }
    const ShowQuoteOutcome outcome = ShowQuote(*quoteText, code, true);
    ApplyPanelWrites(m_form, outcome.writes);
    m_lastLookUpFailed = outcome.failed();
    if (outcome.failed())
        ReportNetError(m_form);
    else if (outcome.status == ShowQuoteOutcome::Status::Shown)
        LearnStock(m_form, code, QuoteRecord::fromText(*quoteText).name());
}

void StockPanel::StockCode_Change()
{
    const QString text = m_form.ui().StockCode->text();
    if (IsStockCode(text)) {
        // The list keeps the matches of the text before.
        lookUpAndShow(text);
        return;
    }
    searchStockList(text);
}

void StockPanel::searchStockList(const QString &text)
{
    QListWidget *list = m_form.ui().StockList;
    const QStringList lines = m_form.stockListTable.search(text);
    {
        // Rebuilding selects nothing, so it is no click.
        const QSignalBlocker blocker(list);
        list->clear();
        list->addItems(lines);
    }
    m_form.placeStockList();
    if (lines.isEmpty() || text.isEmpty())
        list->hide();
    else
        list->show();
}

void StockPanel::StockCode_Click()
{
    m_form.setDefaultButton(m_form.ui().Command1);
    QLineEdit *box = m_form.ui().StockCode;
    if (box->selectedText().trimmed().isEmpty())
        box->selectAll();
}

bool StockPanel::StockCode_KeyDown(int key)
{
    QListWidget *list = m_form.ui().StockList;
    if (!list->isVisible() || (key != Qt::Key_Down && key != Qt::Key_Up))
        return false;
    int selected = -1;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected())
            selected = row;
    }
    m_form.setDefaultButton(m_form.ui().Command1);
    list->setFocus(Qt::OtherFocusReason);
    if (key == Qt::Key_Down && selected < list->count() - 1)
        selectListRow(selected + 1);
    else if (key == Qt::Key_Up && selected > 0)
        selectListRow(selected - 1);
    return true;
}

void StockPanel::selectListRow(int row)
{
    QListWidget *list = m_form.ui().StockList;
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void StockPanel::StockList_Click()
{
    const QList<QListWidgetItem *> selected = m_form.ui().StockList->selectedItems();
    if (selected.isEmpty())
        return;
    const QString line = selected.last()->text();
    // Changing the box's text runs its behaviour: a lookup for a code.
    m_form.ui().StockCode->setText(line.section(u' ', 0, 0));
}

void StockPanel::StockList_DblClick()
{
    m_form.ui().StockList->hide();
}

void StockPanel::StockList_GotFocus()
{
    m_form.setDefaultButton(m_form.ui().Command1);
}

void StockPanel::StockList_KeyPress(const QString &character)
{
    QLineEdit *box = m_form.ui().StockCode;
    box->setFocus(Qt::OtherFocusReason);
    box->setText(character);
    box->setCursorPosition(int(box->text().size()));
}

bool StockPanel::closeListByEscape(QEvent *keyPress)
{
    QListWidget *list = m_form.ui().StockList;
    if (static_cast<QKeyEvent *>(keyPress)->key() != Qt::Key_Escape || !list->isVisible())
        return false;
    list->hide();
    m_form.ui().StockCode->setFocus(Qt::OtherFocusReason);
    return true;
}

void StockPanel::Command1_Click()
{
    StockCode_Change();
    m_form.ui().StockList->hide();
}

void StockPanel::clipboardChanged()
{
    m_clipboardIsNew = true;
}

void StockPanel::ClipboardWatch()
{
    if (!m_clipboardIsNew)
        return;
    m_clipboardIsNew = false;
    if (!IsFlagOn(m_form.store.IsClipboard))
        return;
    const QString code = m_form.platform().clipboard->text();
    if (!IsStockCode(code))
        return;
    // One request either way: a new text in the box looks the code up itself.
    m_lastLookUpFailed = false;
    QLineEdit *box = m_form.ui().StockCode;
    if (box->text() != code)
        box->setText(code);
    else
        lookUpAndShow(code);
    // Tried again at the next activation while the code stays on the clipboard.
    m_clipboardIsNew = m_lastLookUpFailed;
}

bool StockPanel::isValueLabel(const QObject *object) const
{
    const Form1Ui &ui = m_form.ui();
    return object == ui.Label52 || object == ui.Label53 || object == ui.Label54 || object == ui.Label55;
}

void StockPanel::valueLabel_MouseMove(QLabel *)
{
    QTimer *timer = m_form.ui().Timer1;
    if (!timer->isActive())
        timer->start();
}

void StockPanel::Frame5_MouseMove()
{
    if (m_tipForm->isVisible())
        m_tipForm->hide();
    m_form.ui().Timer1->stop();
}

void StockPanel::Form_MouseMove()
{
    if (m_tipForm->isVisible())
        m_tipForm->hide();
}

void StockPanel::Timer1_Timer()
{
    const Form1Ui &ui = m_form.ui();
    ui.Timer1->stop();
    if (ui.Label52->text().trimmed().isEmpty() || !IsFlagOn(m_form.store.showPicture)
        || m_tipForm->isVisible())
        return;
    // Right under the stock name, from its left edge: the pointer can move
    // down into it without crossing the frame, which would hide it.
    m_tipForm->move(ui.Label52->mapToGlobal(QPoint(0, ui.Label52->height())));
    m_tipForm->show();
}

void StockPanel::valueLabel_Click()
{
    const std::optional<QString> url = SiteLinkUrl(m_form.ui().Label54->text(), m_form.store.DefaultSite);
    if (!url)
        return;
    if (!m_form.platform().urlOpener->open(QUrl(*url))) {
        m_form.platform().messageBoxes->critical(&m_form, QStringLiteral("错误"),
                                                 QStringLiteral("调用浏览器错误！"));
    }
}

bool StockPanel::eventFilter(QObject *watched, QEvent *event)
{
    const Form1Ui &ui = m_form.ui();
    const QEvent::Type type = event->type();

    if (watched == &m_form) {
        // Esc that no control took closes the chart.
        if (type == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && m_tipForm
            && m_tipForm->isVisible()) {
            m_tipForm->hide();
            return true;
        }
        if (type == QEvent::Show || type == QEvent::WindowActivate) {
            // After the showing has been painted, as on the first repaint.
            QMetaObject::invokeMethod(this, &StockPanel::ClipboardWatch, Qt::QueuedConnection);
        } else if (type == QEvent::Hide || (type == QEvent::WindowStateChange && m_form.isMinimized())) {
            ui.Timer1->stop();
            if (m_tipForm)
                m_tipForm->hide();
        }
        return false;
    }

    if (watched == ui.StockCode) {
        if (type == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            StockCode_Click();
        else if (type == QEvent::KeyPress)
            return StockCode_KeyDown(static_cast<QKeyEvent *>(event)->key()) || closeListByEscape(event);
        return false;
    }

    if (watched == ui.StockList) {
        if (type == QEvent::FocusIn) {
            StockList_GotFocus();
        } else if (type == QEvent::KeyPress) {
            if (closeListByEscape(event))
                return true;
            const QString text = static_cast<QKeyEvent *>(event)->text();
            if (text.size() == 1 && text.front().isPrint()) {
                StockList_KeyPress(text);
                return true;
            }
        }
        return false;
    }
    if (watched == ui.StockList->viewport()) {
        if (type == QEvent::MouseButtonDblClick)
            StockList_DblClick();
        return false;
    }

    if (type == QEvent::MouseMove) {
        if (isValueLabel(watched)) {
            valueLabel_MouseMove(static_cast<QLabel *>(watched));
            return true;
        }
        if (watched == ui.Label5 || watched == ui.Label6 || watched == ui.Label7 || watched == ui.Label8)
            return true;
        if (watched == ui.Frame5) {
            Frame5_MouseMove();
            return true;
        }
        if (watched == m_form.centralWidget())
            Form_MouseMove();
        return false;
    }
    if (type == QEvent::MouseButtonRelease && isValueLabel(watched)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const bool inside = static_cast<QWidget *>(watched)->rect().contains(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && inside)
            valueLabel_Click();
        return false;
    }
    return false;
}

} // namespace quorvane
