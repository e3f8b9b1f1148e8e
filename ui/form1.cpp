#include "ui/form1.h"

#include "calc/calculate.h"
#include "calc/calculation_log.h"
#include "quotes/fetch_thread.h"
#include "ui/app_icon.h"
#include "ui/entry_fields.h"
#include "ui/fee_fields.h"
#include "ui/form2.h"
#include "ui/frm_about.h"
#include "ui/price_monitor.h"
#include "ui/stock_list_update.h"
#include "ui/text_colours.h"
#include "ui/usage_report.h"
#include "ui/version.h"
#include "update/update_check.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace quorvane {

namespace {

const QSize ClientSize(739, 491);

QString Caption()
{
    return QStringLiteral("Quorvane Ver%1 - 散户炒股必备软件").arg(ShortVersion());
}

} // namespace

QStringList DesktopCalculators()
{
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("galculator"),
            QStringLiteral("qalculate-gtk"), QStringLiteral("mate-calc"), QStringLiteral("xcalc")};
}

Form1::Form1(Platform platform, ProgramFolders folders, QWidget *parent)
    : QMainWindow(parent), m_platform(std::move(platform)), m_folders(std::move(folders))
{
    m_ui.setupUi(this);
    setWindowTitle(Caption());
    setWindowIcon(AppIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);

    m_entryFields = std::make_unique<EntryFields>(m_ui, *m_platform.messageBoxes,
                                                  [this] { setDefaultButton(m_ui.btn_Sum); });
    setDefaultButton(m_ui.btn_Sum);
    m_priceMonitor = std::make_unique<PriceMonitor>(*this);

    connect(m_ui.btn_Sum, &QPushButton::clicked, this, &Form1::btn_Sum_Click);
    for (QLineEdit *field : {m_ui.sell_ProfitAndLoss, m_ui.sell_Yield})
        connect(field, &QLineEdit::textChanged, this, [this, field] { applySignColour(field); });

    connect(m_ui.ExitMenu, &QAction::triggered, this, &QWidget::close);
    connect(m_ui.popExit, &QAction::triggered, this, &QWidget::close);
    connect(m_ui.popShow, &QAction::triggered, this, &Form1::popShow_Click);
    connect(m_ui.calcmenu, &QAction::triggered, this, &Form1::calcmenu_Click);
    connect(m_ui.CurrentRatesMenu, &QAction::triggered, this,
            [this] { CurrentRatesMenu_Click(m_ui, *m_platform.messageBoxes, this); });
    connect(m_ui.UpdateStockListMenu, &QAction::triggered, this, [this] { UpdateStockList_Click(*this); });
    connect(m_ui.MonitoringMenu, &QAction::triggered, this, &Form1::MonitoringMenu_Click);
    connect(m_ui.CheckUpdate, &QAction::triggered, this, [this] { CheckUpdateVersion(true); });
    connect(m_ui.AboutMe, &QAction::triggered, this, &Form1::AboutMe_Click);

    m_ui.StockList->installEventFilter(this);

    // Fixed size: the client area of the design, or more if the fonts need it.
    const QSize content = centralWidget()->minimumSizeHint().expandedTo(ClientSize);
    setFixedSize(content.width(), content.height() + menuBar()->sizeHint().height());
}

Form1::~Form1() = default;

void Form1::Form_Load()
{
    LoadFeeSettings();

    m_platform.trayIcon->remove();
    m_platform.trayIcon->add(windowIcon(), windowTitle(), m_ui.mnuControl, [this] { trayLeftPress(); });

    store = LoadMonitorSettings(m_ini, m_folders.iniPath());
    network = LoadNetworkSettings(m_ini, m_folders.iniPath());
    armMonitorTimer();

    if (IsUpdateCheckDue(store.UpdateDateTime, QDateTime::currentDateTime()))
        CheckUpdateVersion(false);

    stockListTable = StockListTable::load(m_folders.stockListToRead());
}

QList<QuoteService> Form1::quoteServices() const
{
    // The second service needs no Referer.
    return {{QuoteFormat::List, network.QuoteHost, network.Referer}, {QuoteFormat::Q, network.QuoteHost2, {}}};
}

QPoint PlaceOnArea(const QSize &frameSize, const QRect &available)
{
    const auto along = [](int length, int start, int room) {
        return length <= room ? start + (room - length) / 2 : start;
    };
    return {along(frameSize.width(), available.left(), available.width()),
            along(frameSize.height(), available.top(), available.height())};
}

void Form1::centreOnScreen()
{
    if (QScreen *screen = this->screen())
        move(PlaceOnArea(frameGeometry().size(), screen->availableGeometry()));
}

void Form1::armMonitorTimer()
{
    m_ui.ActiveTimer->setInterval(1000);
    if (IsFlagOn(store.IsActive))
        m_ui.ActiveTimer->start();
    else
        m_ui.ActiveTimer->stop();
}

void Form1::MonitoringMenu_Click()
{
    Form2 dialog(*this);
    dialog.exec();
}

void Form1::LoadFeeSettings()
{
    ShowFeeFields(m_ui, quorvane::LoadFeeSettings(m_ini, m_folders.iniPath()));
}

bool Form1::SaveFeeSettings()
{
    return quorvane::SaveFeeSettings(m_ini, m_folders.iniPath(), ReadFeeFields(m_ui));
}

void Form1::reportWriteFailure(const QString &path, const QString &reason)
{
    if (m_reportedFiles.contains(path))
        return;
    m_reportedFiles.insert(path);
    m_platform.messageBoxes->critical(isVisible() ? this : nullptr, QStringLiteral("错误"),
                                      QStringLiteral("无法写入文件“%1”：%2。\n本次运行中不再提示此文件的写入错误。")
                                          .arg(QDir::toNativeSeparators(path), reason));
}

void Form1::setDefaultButton(QPushButton *button)
{
    if (m_defaultButton == button)
        return;
    if (m_defaultButton)
        m_defaultButton->setDefault(false);
    m_defaultButton = button;
    if (m_defaultButton)
        m_defaultButton->setDefault(true);
}

void Form1::btn_Sum_Click()
{
    m_ui.StockList->hide();

    CalculateInputs in;
    in.fees.brokerageRatio = m_ui.buy_BrokerageRatio->text();
    in.fees.minBrokerage = m_ui.buy_MinBrokerageRatio->text();
    in.fees.transferMoney = m_ui.TransferMoney->text();
    in.fees.minTransferMoney = m_ui.MinTransferMoney->text();
    in.fees.stampDuty = m_ui.StampDuty->text();
    in.fees.minStampDuty = m_ui.MinStampDuty->text();
    in.fees.buyOtherMoney = m_ui.buy_OtherMoney->text();
    in.fees.sellOtherMoney = m_ui.sell_OtherMoney->text();
    in.fees.shanghaiTransferFee = m_ui.Check1->isChecked();
    in.fees.shenzhenTransferFee = m_ui.Check2->isChecked();
    in.fees.beijingTransferFee = m_ui.Check3->isChecked();
    in.fees.transferByAmount = m_ui.TransferByAmount->isChecked();
    in.fees.exchange = m_ui.Label53->text();
    in.buyPrice = m_ui.buy_Price->text();
    in.buyNumber = m_ui.buy_Number->text();
    in.sellPrice = m_ui.sell_Price->text();
    in.sellNumber = m_ui.sell_Number->text();
    in.isSumSamePrice = store.IsSumSamePrice;

    const CalculateOutcome outcome = Calculate(in);
    if (outcome.rejection) {
        m_platform.messageBoxes->information(this, QStringLiteral("提示"), outcome.rejection->message);
        if (auto *field = findChild<QWidget *>(outcome.rejection->focusField))
            field->setFocus(Qt::OtherFocusReason);
        return;
    }
    for (const auto &[name, text] : outcome.fieldTexts) {
        if (auto *field = findChild<QLineEdit *>(name))
            field->setText(text);
    }
    if (outcome.frame3Caption)
        m_ui.Frame3->setTitle(*outcome.frame3Caption);
    if (!outcome.logDue)
        return;
    const QString why =
        WriteCalculationLog(m_folders.dataFolder, [this](const QString &name) { return controlText(name); });
    if (!why.isEmpty())
        reportWriteFailure(m_folders.userFile(QStringLiteral("Log.txt")), why);
}

QString Form1::controlText(const QString &objectName) const
{
    const QObject *control = findChild<QObject *>(objectName);
    if (const auto *field = qobject_cast<const QLineEdit *>(control))
        return field->text();
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    return {};
}

void Form1::applySignColour(QLineEdit *field)
{
    // A text that does not read as a number (never written by the calculation)
    // shows in the normal colour.
    const double value = NumberIfNumber(field->text()).value_or(0);
    SetDesignTextColour(field, value > 0 ? colors::Rise : value < 0 ? colors::Fall : 0);
}

void Form1::calcmenu_Click()
{
    for (const QString &program : DesktopCalculators()) {
        if (m_platform.programStarter->start(program, {}))
            return;
    }
    m_platform.messageBoxes->critical(this, QStringLiteral("错误"), QStringLiteral("无法启动计算器"));
}

void Form1::AboutMe_Click()
{
    if (!m_aboutBox) {
        m_aboutBox = new FrmAbout(m_platform, m_folders, this);
        m_aboutBox->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_aboutBox->show();
    m_aboutBox->raise();
    m_aboutBox->activateWindow();
}

void Form1::popShow_Click()
{
    if (isVisible()) {
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        return;
    }
    trayLeftPress();
}

void Form1::trayLeftPress()
{
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    show();
    raise();
    activateWindow();
}

bool Form1::ShowBalloon(const QString &title, const QString &text, bool alarm)
{
    return m_platform.trayIcon->showBalloon(CutToGbkBytes(title, 63), CutToGbkBytes(text, 255), alarm);
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_exiting) {
        event->accept();
        return;
    }
    // A second request while the question is open is the same request.
    if (m_askingToExit) {
        event->ignore();
        return;
    }
    m_askingToExit = true;
    const MessageBoxes::Answer answer = m_platform.messageBoxes->question(
        this, QStringLiteral("退出提示"), QStringLiteral("真的要退出“Quorvane”吗？"));
    m_askingToExit = false;
    if (answer != MessageBoxes::Answer::Ok) {
        event->ignore();
        return;
    }
    // Nothing in flight holds the exit: the monitor's and the update check's
    // transfers end now, and the report has half a second.
    m_priceMonitor->abandonLookUps();
    if (m_updateThread)
        m_updateThread->cancel();
    if (!SaveFeeSettings())
        reportWriteFailure(m_folders.iniPath(), m_ini.lastError());
    m_platform.trayIcon->remove();
    SendUsageReport(network.UpdateHost, 500);
    m_exiting = true;
    event->accept();
    emit exitConfirmed();
}

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // A switch between light and dark schemes while the program runs.
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange)
        ApplyDesignColours(this);
    if (event->type() != QEvent::WindowStateChange || !isMinimized())
        return;
    // Without a notification area nothing could bring a hidden window back.
    if (IsFlagOn(store.HideTaskbar) && m_platform.trayIcon->supportsTray()) {
        // Hidden once the minimising has finished.
        QTimer::singleShot(0, this, [this] {
            if (isMinimized())
                hide();
        });
    }
}

void Form1::keyPressEvent(QKeyEvent *event)
{
    // Enter that no control took presses the default button.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_defaultButton
        && m_defaultButton->isEnabled()) {
        event->accept();
        m_defaultButton->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void Form1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    placeStockList();
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui.StockList && event->type() == QEvent::Show)
        placeStockList();
    return QMainWindow::eventFilter(watched, event);
}

void Form1::placeStockList()
{
    // Directly under the code box and as wide, over the rows below it.
    QWidget *code = m_ui.StockCode;
    QWidget *host = m_ui.StockList->parentWidget();
    const QPoint topLeft = code->mapTo(host, QPoint(0, code->height()));
    const int rows = std::clamp(m_ui.StockList->count(), 1, 10);
    const int rowHeight = m_ui.StockList->count() > 0 ? m_ui.StockList->sizeHintForRow(0)
                                                       : m_ui.StockList->fontMetrics().height() + 2;
    m_ui.StockList->setGeometry(topLeft.x(), topLeft.y(), code->width(),
                                rows * rowHeight + 2 * m_ui.StockList->frameWidth());
    m_ui.StockList->raise();
}

} // namespace quorvane
