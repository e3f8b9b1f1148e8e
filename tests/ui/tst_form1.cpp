// The main window: start-up with and without setup.ini, the Calculate command
// typed and entered as a user would, the exit sequence, the minimise rule and
// the notification icon.

#include "fake_platform.h"

#include "settings/ini_file.h"
#include "settings/settings_store.h"
#include "ui/form1.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <httplib.h>

#include <atomic>
#include <thread>

using namespace quorvane;
using namespace quorvane::testing;

namespace {

void WriteGbk(const QString &path, const QString &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringEncoder("GBK").encode(text));
}

QString ReadGbk(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QStringDecoder("GBK").decode(file.readAll());
}

// One log column: right-aligned in width characters, the front cut off.
QString Column(QString text, int width)
{
    text.remove(QChar(0xFFE5));
    return (QString(26, QLatin1Char(' ')) + text).right(width);
}

QColor TextColour(const QLineEdit *field)
{
    return field->palette().color(QPalette::Text);
}

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakePlatform m_fake;
    std::unique_ptr<Form1> m_form;

    ProgramFolders folders() const
    {
        ProgramFolders f;
        f.programFolder = m_dir->path();
        f.dataFolder = m_dir->path();
        return f;
    }
    QString iniPath() const { return m_dir->filePath(QStringLiteral("setup.ini")); }
    QString logPath() const { return m_dir->filePath(QStringLiteral("Log.txt")); }

    Form1 &start(bool show = true)
    {
        m_form = std::make_unique<Form1>(m_fake.platform(), folders());
        m_form->Form_Load();
        if (show) {
            m_form->show();
            QApplication::setActiveWindow(m_form.get());
            [&] { QVERIFY(QTest::qWaitForWindowActive(m_form.get())); }();
        }
        return *m_form;
    }
    const Form1Ui &ui() const { return m_form->ui(); }
    QString lastMessage() const { return m_fake.boxes->shown.isEmpty() ? QString() : m_fake.boxes->shown.last().text; }

    // A click into the field, the text typed, and the focus moved on with Tab.
    void typeInto(QLineEdit *field, const QString &text, bool tabAway = true)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClicks(field, text);
        if (tabAway)
            QTest::keyClick(field, Qt::Key_Tab);
    }

    void typeWorkedExample()
    {
        ui().Label52->setText(QStringLiteral("浦发银行"));
        ui().Label53->setText(QStringLiteral("上海交易所"));
        ui().Label54->setText(QStringLiteral("600000"));
        typeInto(ui().buy_Price, QStringLiteral("10"));
        typeInto(ui().buy_Number, QStringLiteral("1000"));
        typeInto(ui().sell_Price, QStringLiteral("11"), false);
        QTest::keyClick(ui().sell_Price, Qt::Key_Return);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_fake = FakePlatform();
    }
    void cleanup()
    {
        m_form.reset();
        m_dir.reset();
    }

    void startsWithDefaultsWithoutSetupIni()
    {
        Form1 &form = start();
        QCOMPARE(form.windowTitle(), QStringLiteral("Quorvane Ver1.5 - 散户炒股必备软件"));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(form.width() >= 739 && form.centralWidget()->height() >= 491);
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);

        const QStringList fees{ui().buy_BrokerageRatio->text(), ui().buy_MinBrokerageRatio->text(),
                               ui().TransferMoney->text(),      ui().MinTransferMoney->text(),
                               ui().StampDuty->text(),          ui().MinStampDuty->text(),
                               ui().buy_OtherMoney->text(),     ui().sell_OtherMoney->text()};
        QCOMPARE(fees, (QStringList{"3.00", "5.00", "1.00", "1.00", "1.00", "1.00", "0.00", "0.00"}));
        QVERIFY(ui().Check1->isChecked());
        QVERIFY(!ui().Check2->isChecked());
        QCOMPARE(ui().buy_Price->text(), QStringLiteral("￥0.00"));
        QCOMPARE(ui().buy_Number->text(), QStringLiteral("0"));
        QCOMPARE(ui().sell_Price->text(), QStringLiteral("￥0.00"));
        QCOMPARE(ui().sell_Number->text(), QStringLiteral("0"));
        QCOMPARE(ui().sell_Yield->text(), QStringLiteral("0.00"));
        for (QLineEdit *result : {ui().buy_TotalMoney, ui().buy_BreakEven, ui().sell_ReceivedMoney,
                                  ui().sell_ProfitAndLoss}) {
            QCOMPARE(result->text(), QStringLiteral("￥0.00"));
            QVERIFY(result->isReadOnly());
        }
        QCOMPARE(ui().buy_BreakEven->toolTip(), QStringLiteral("指全部卖出所持股票，可保本的最低价格"));
        QCOMPARE(ui().Frame3->title(), QStringLiteral("卖出计算"));
        QCOMPARE(ui().Frame5->title(), QStringLiteral("股票信息（单击名称进入财经网）"));
        QVERIFY(ui().Label52->text().isEmpty() && ui().Label53->text().isEmpty());
        QCOMPARE(ui().Label70->text(), QStringLiteral("当前涨/跌停价"));
        QCOMPARE(ui().ladderLabel(64)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(ui().ladderLabel(65)->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        QCOMPARE(ui().buy_Price->palette().color(QPalette::Base), QColor(255, 192, 128));
        QCOMPARE(ui().StampDuty->palette().color(QPalette::Base), QColor(255, 255, 128));
        QCOMPARE(ui().buy_Price->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QVERIFY(ui().StockList->isHidden());
        QCOMPARE(form.defaultButton(), ui().btn_Sum);
        QVERIFY(ui().btn_Sum->isDefault());

        // The monitor is off; the hover delay waits.
        QVERIFY(!ui().ActiveTimer->isActive());
        QCOMPARE(ui().ActiveTimer->interval(), 1000);
        QVERIFY(!ui().Timer1->isActive());
        QCOMPARE(ui().Timer1->interval(), 500);
        QCOMPARE(form.store.ActiveTime, QStringLiteral("30"));
        QCOMPARE(form.store.DefaultSite, QStringLiteral("新浪财经"));

        // The icon replaced any earlier one and carries the caption.
        QCOMPARE(m_fake.tray->removes, 1);
        QVERIFY(m_fake.tray->present);
        QCOMPARE(m_fake.tray->tip, form.windowTitle());
        QCOMPARE(m_fake.tray->menu, ui().mnuControl);

        // Windows of later work stand disabled; the pop-up menu is not on the bar.
        QVERIFY(!ui().MonitoringMenu->isEnabled());
        QVERIFY(!ui().CheckUpdate->isEnabled());
        QVERIFY(!ui().AboutMe->isEnabled());
        QVERIFY(ui().ExitMenu->isEnabled() && ui().calcmenu->isEnabled());
        QCOMPARE(ui().calcmenu->text(), QStringLiteral("计算器"));
        QVERIFY(!form.menuBar()->actions().contains(ui().mnuControl->menuAction()));
        QCOMPARE(ui().mnuControl->actions().size(), 3);

        QVERIFY(!QFile::exists(iniPath()));
    }

    void everyNamedControlIsThere()
    {
        Form1 &form = start(false);
        const char *names[] = {
            "Frame1", "Frame2", "Frame3", "Frame4", "Frame5", "Frame6", "Label5", "Label6", "Label7", "Label8",
            "Label52", "Label53", "Label54", "Label55", "Label60", "Label61", "Label62", "Label63", "Label64",
            "Label65", "Label66", "Label67", "Label68", "Label69", "Label70", "Line1", "StockCode", "Command1",
            "StockList", "buy_Price", "buy_Number", "sell_Price", "sell_Number", "buy_BrokerageRatio",
            "buy_MinBrokerageRatio", "TransferMoney", "MinTransferMoney", "StampDuty", "MinStampDuty",
            "buy_OtherMoney", "sell_OtherMoney", "buy_TotalMoney", "buy_Brokerage", "buy_TansferMoney",
            "buy_Factorage", "buy_OutOfPocketExpenses", "buy_Cost", "buy_BreakEven", "sell_TotalMoney",
            "sell_Brokerage", "sell_TransferMoney", "sell_StampDuty", "sell_Factorage", "sell_ReceivedMoney",
            "sell_Yield", "sell_ProfitAndLoss", "Check1", "Check2", "btn_Sum", "FileMenu", "MonitoringMenu",
            "a2", "ExitMenu", "calcmenu", "meunHelp", "CheckUpdate", "a3", "AboutMe", "mnuControl", "popShow",
            "a1", "popExit", "ActiveTimer", "Timer1"};
        for (const char *name : names)
            QVERIFY2(form.findChild<QObject *>(QLatin1String(name)), name);

        // The focus order begins with the trade, then the fee rates.
        QList<QWidget *> chain;
        QWidget *w = ui().StockCode;
        for (int i = 0; i < 14; ++i, w = w->nextInFocusChain()) {
            while (!(w->focusPolicy() & Qt::TabFocus))
                w = w->nextInFocusChain();
            chain.append(w);
        }
        const QList<QWidget *> expected{ui().StockCode,     ui().btn_Sum,        ui().buy_Price,
                                        ui().buy_Number,    ui().sell_Price,     ui().sell_Number,
                                        ui().buy_BrokerageRatio, ui().buy_MinBrokerageRatio,
                                        ui().TransferMoney, ui().MinTransferMoney, ui().StampDuty,
                                        ui().MinStampDuty,  ui().buy_OtherMoney, ui().sell_OtherMoney};
        QCOMPARE(chain, expected);
    }

    void startsWithTheSavedRatesAndSettings()
    {
        WriteGbk(iniPath(), QStringLiteral("[setup]\r\nbuy_BrokerageRatio=2.5\r\nbuy_MinBrokerageRatio=abc\r\n"
                                           "sell_OtherMoney=  \r\nCheck1=0\r\nCheck2=1\r\n"
                                           "[monitoring]\r\nIsActive=-1\r\nIsSumSamePrice=0\r\n"
                                           "DefaultSite=东方财富\r\n"));
        WriteGbk(m_dir->filePath(QStringLiteral("StockList.txt")),
                 QStringLiteral("600000 浦发银行 PFYH\r\n000001 平安银行 PAYH\r\n"));
        Form1 &form = start(false);
        QCOMPARE(ui().buy_BrokerageRatio->text(), QStringLiteral("2.5"));
        QCOMPARE(ui().buy_MinBrokerageRatio->text(), QStringLiteral("abc"));
        QCOMPARE(ui().sell_OtherMoney->text(), QStringLiteral("0.00"));
        QVERIFY(!ui().Check1->isChecked());
        QVERIFY(ui().Check2->isChecked());
        QVERIFY(ui().ActiveTimer->isActive());
        QCOMPARE(ui().ActiveTimer->interval(), 1000);
        QCOMPARE(form.store.DefaultSite, QStringLiteral("东方财富"));
        QCOMPARE(form.stockListTable.entries().size(), 2);
        QCOMPARE(form.stockListTable.entries().at(1).name, QStringLiteral("平安银行"));
        // The entry fields are the window's own, never restored.
        QCOMPARE(ui().buy_Price->text(), QStringLiteral("￥0.00"));
    }

    void workedExampleTypedAndEntered()
    {
        start();
        typeWorkedExample();
        QVERIFY(m_fake.boxes->shown.isEmpty());

        QCOMPARE(ui().buy_Price->text(), QStringLiteral("￥10.00"));
        QCOMPARE(ui().buy_Number->text(), QStringLiteral("1,000"));
        QCOMPARE(ui().sell_Number->text(), QStringLiteral("1,000"));
        QCOMPARE(ui().buy_TotalMoney->text(), QStringLiteral("￥10,000.00"));
        QCOMPARE(ui().buy_Brokerage->text(), QStringLiteral("￥30.00"));
        QCOMPARE(ui().buy_TansferMoney->text(), QStringLiteral("￥1.00"));
        QCOMPARE(ui().buy_Factorage->text(), QStringLiteral("￥31.00"));
        QCOMPARE(ui().buy_OutOfPocketExpenses->text(), QStringLiteral("￥10,031.00"));
        QCOMPARE(ui().buy_Cost->text(), QStringLiteral("￥10.03"));
        QCOMPARE(ui().buy_BreakEven->text(), QStringLiteral("￥10.08"));
        QCOMPARE(ui().sell_TotalMoney->text(), QStringLiteral("￥11,000.00"));
        QCOMPARE(ui().sell_StampDuty->text(), QStringLiteral("￥11.00"));
        QCOMPARE(ui().sell_ReceivedMoney->text(), QStringLiteral("￥10,955.00"));
        QCOMPARE(ui().sell_ProfitAndLoss->text(), QStringLiteral("￥924.00"));
        QCOMPARE(ui().sell_Yield->text(), QStringLiteral("9.21"));
        QCOMPARE(TextColour(ui().sell_ProfitAndLoss), QColor(255, 0, 0));
        QCOMPARE(TextColour(ui().sell_Yield), QColor(255, 0, 0));
        QCOMPARE(ui().Frame3->title(), QStringLiteral("卖出计算（持回价格：￥10.92）"));

        const QString code = Column(QStringLiteral("600000"), 8);
        const QString name = Column(QStringLiteral("浦发银行"), 12);
        auto columns = [](const QStringList &texts) {
            QString line;
            for (const QString &t : texts)
                line += Column(t, 16);
            return line;
        };
        const QString expected =
            QStringLiteral("股票代码        股票名称        买入价格        买入数量        交易金额        佣　　金        "
                           "过 户 费        总手续费        实付金额        买入成本        保本价格\r\n")
            + code + name
            + columns({"10.00", "1,000", "10,000.00", "30.00", "1.00", "31.00", "10,031.00", "10.03", "10.08"})
            + QStringLiteral("\r\n股票代码        股票名称        卖出价格        卖出数量        交易金额        佣　　金        "
                             "过 户 费        印 花 税        总手续费        实收金额        收 益 率        盈亏金额\r\n")
            + code + name
            + columns({"11", "1,000", "11,000.00", "33.00", "1.00", "11.00", "45.00", "10,955.00", "9.21", "924.00"})
            + QStringLiteral("\r\n") + QString(74, QLatin1Char('-')) + QStringLiteral("\r\n\r\n");
        QCOMPARE(ReadGbk(logPath()), expected);

        // A second calculation adds a second entry.
        QTest::keyClick(ui().sell_Price, Qt::Key_Enter);
        QCOMPARE(ReadGbk(logPath()), expected + expected);
    }

    void lossAndZeroColours()
    {
        start();
        typeInto(ui().buy_Price, QStringLiteral("10"));
        typeInto(ui().buy_Number, QStringLiteral("1000"));
        typeInto(ui().sell_Price, QStringLiteral("9"), false);
        QTest::keyClick(ui().sell_Price, Qt::Key_Return);
        QVERIFY(ui().sell_ProfitAndLoss->text().startsWith(QLatin1Char('-')));
        QCOMPARE(TextColour(ui().sell_ProfitAndLoss), QColor(0, 128, 0));
        QCOMPARE(TextColour(ui().sell_Yield), QColor(0, 128, 0));
        QCOMPARE(ui().Frame3->title(), QStringLiteral("卖出计算"));

        // Exactly zero is the normal text colour again.
        ui().sell_Yield->setText(QStringLiteral("0.00"));
        QCOMPARE(TextColour(ui().sell_Yield), QApplication::palette(ui().sell_Yield).color(QPalette::Text));
    }

    void rejectionsPutTheFocusBack()
    {
        start();
        // The window as it starts: no quantity.
        QTest::keyClick(ui().buy_Price, Qt::Key_Return);
        QCOMPARE(m_fake.boxes->shown.size(), 1);
        QCOMPARE(m_fake.boxes->shown.last().kind, ShownBox::Information);
        QCOMPARE(m_fake.boxes->shown.last().caption, QStringLiteral("提示"));
        QCOMPARE(lastMessage(), QStringLiteral("抱歉，买入数量为0，请重新输入"));
        QCOMPARE(m_form->focusWidget(), ui().buy_Number);

        // An empty fee rate comes first in the order of the checks.
        ui().buy_Number->setText(QStringLiteral("100"));
        ui().MinTransferMoney->setText(QString());
        ui().sell_Number->setText(QString());
        ui().btn_Sum->click();
        QCOMPARE(lastMessage(), QStringLiteral("抱歉，请输入正确的数字"));
        QCOMPARE(m_form->focusWidget(), ui().MinTransferMoney);

        ui().MinTransferMoney->setText(QStringLiteral("1.00"));
        ui().buy_Price->setText(QStringLiteral("10"));
        ui().sell_Number->setText(QStringLiteral("101"));
        ui().btn_Sum->click();
        QCOMPARE(lastMessage(), QStringLiteral("抱歉，卖出数量大于买入数量，请重新输入"));
        QCOMPARE(m_form->focusWidget(), ui().sell_Number);
        // No result changed through any of it.
        QCOMPARE(ui().buy_TotalMoney->text(), QStringLiteral("￥0.00"));
        QVERIFY(!QFile::exists(logPath()));
    }

    void sellPriceZeroRefreshesTheBuySideOnly()
    {
        start();
        typeWorkedExample();
        QVERIFY(QFile::remove(logPath()));
        typeInto(ui().buy_Price, QStringLiteral("20"));
        typeInto(ui().buy_Number, QStringLiteral("500"));
        typeInto(ui().sell_Price, QStringLiteral("0"), false);
        QTest::keyClick(ui().sell_Price, Qt::Key_Return);
        QCOMPARE(ui().buy_TotalMoney->text(), QStringLiteral("￥10,000.00"));
        QCOMPARE(ui().buy_Cost->text(), QStringLiteral("￥20.06"));
        QCOMPARE(ui().sell_ProfitAndLoss->text(), QStringLiteral("￥924.00"));
        QCOMPARE(ui().Frame3->title(), QStringLiteral("卖出计算（持回价格：￥10.92）"));
        QVERIFY(!QFile::exists(logPath()));
    }

    void enterPressesTheOneDefaultButton()
    {
        start();
        QSignalSpy refresh(ui().Command1, &QPushButton::clicked);
        m_form->setDefaultButton(ui().Command1);
        QVERIFY(ui().Command1->isDefault() && !ui().btn_Sum->isDefault());
        QTest::keyClick(ui().sell_Price, Qt::Key_Return);
        QCOMPARE(refresh.size(), 1);
        QVERIFY(m_fake.boxes->shown.isEmpty());

        // A click into the buy quantity keeps Command1 until its text changes.
        QTest::mouseClick(ui().buy_Number, Qt::LeftButton);
        QCOMPARE(m_form->defaultButton(), ui().Command1);
        QTest::keyClicks(ui().buy_Number, QStringLiteral("5"));
        QCOMPARE(m_form->defaultButton(), ui().btn_Sum);

        // The Calculate command hides the list of matches.
        ui().StockList->show();
        ui().btn_Sum->click();
        QVERIFY(ui().StockList->isHidden());
    }

    void exitAsksAndOkSavesTheRates()
    {
        Form1 &form = start();
        QSignalSpy ended(&form, &Form1::exitConfirmed);
        ui().buy_BrokerageRatio->setText(QStringLiteral("2.00"));
        ui().StampDuty->setText(QStringLiteral("letters"));
        ui().Check2->setChecked(true);

        m_fake.boxes->nextAnswers = {MessageBoxes::Answer::Cancel};
        QVERIFY(!form.close());
        QCOMPARE(m_fake.boxes->shown.last().kind, ShownBox::Question);
        QCOMPARE(m_fake.boxes->shown.last().caption, QStringLiteral("退出提示"));
        QCOMPARE(lastMessage(), QStringLiteral("真的要退出“Quorvane”吗？"));
        QVERIFY(form.isVisible());
        QVERIFY(m_fake.tray->present);
        QVERIFY(!QFile::exists(iniPath()));
        QCOMPARE(ended.size(), 0);

        // The menu commands pass through the same question.
        m_fake.boxes->nextAnswers = {MessageBoxes::Answer::Cancel, MessageBoxes::Answer::Cancel};
        ui().ExitMenu->trigger();
        ui().popExit->trigger();
        QCOMPARE(m_fake.boxes->shown.size(), 3);
        QVERIFY(form.isVisible());

        QVERIFY(form.close());
        QCOMPARE(ended.size(), 1);
        QVERIFY(!m_fake.tray->present);
        ClassIniFile ini;
        const FeeSettings saved = LoadFeeSettings(ini, iniPath());
        QCOMPARE(saved.buy_BrokerageRatio, QStringLiteral("2.00"));
        QCOMPARE(saved.StampDuty, QStringLiteral("letters"));
        QCOMPARE(saved.Check1, 1);
        QCOMPARE(saved.Check2, 1);
        // Only the fee section is written at exit.
        ini.setINIFileName(iniPath());
        QCOMPARE(ini.GetIniKey(QStringLiteral("monitoring"), QStringLiteral("IsActive"), QStringLiteral("none")),
                 QStringLiteral("none"));
    }

    void exitFromTheTrayMenuOfAHiddenWindow()
    {
        WriteGbk(iniPath(), QStringLiteral("[monitoring]\r\nHideTaskbar=1\r\n"));
        Form1 &form = start();
        QSignalSpy ended(&form, &Form1::exitConfirmed);
        form.showMinimized();
        QTRY_VERIFY(!form.isVisible());
        ui().popExit->trigger();
        QCOMPARE(m_fake.boxes->shown.size(), 1);
        QCOMPARE(ended.size(), 1);
    }

    void usageReportOnlyToAConfiguredServerAndWithinItsTimeLimit()
    {
        httplib::Server server;
        std::atomic<int> requests = 0;
        std::string target;
        std::mutex lock;
        server.Get("/AddStockVisitRecordToDB.aspx", [&](const httplib::Request &req, httplib::Response &res) {
            {
                std::lock_guard guard(lock);
                target = req.target;
            }
            ++requests;
            res.set_content("ok", "text/plain");
        });
        server.Get("/slow/AddStockVisitRecordToDB.aspx", [&](const httplib::Request &, httplib::Response &res) {
            std::this_thread::sleep_for(std::chrono::seconds(6));
            res.set_content("late", "text/plain");
        });
        const int port = server.bind_to_any_port("127.0.0.1");
        std::thread serving([&] { server.listen_after_bind(); });
        auto stop = qScopeGuard([&] {
            server.stop();
            serving.join();
        });

        // No server configured: nothing is sent.
        start(false);
        QVERIFY(m_form->close());
        QCOMPARE(requests.load(), 0);

        WriteGbk(iniPath(), QStringLiteral("[network]\r\nUpdateHost=127.0.0.1:%1\r\n").arg(port));
        start(false);
        QVERIFY(m_form->close());
        QCOMPARE(requests.load(), 1);
        {
            std::lock_guard guard(lock);
            QCOMPARE(QString::fromStdString(target), QStringLiteral("/AddStockVisitRecordToDB.aspx?str=Ver1.5"));
        }

        // A server that does not answer cannot hold the exit for long.
        WriteGbk(iniPath(), QStringLiteral("[network]\r\nUpdateHost=127.0.0.1:%1/slow\r\n").arg(port));
        start(false);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(m_form->close());
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    }

    void minimiseRule_data()
    {
        QTest::addColumn<QString>("hideTaskbar");
        QTest::addColumn<bool>("hasTray");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("HideTaskbar 1 with a tray → hidden") << "1" << true << true;
        QTest::newRow("HideTaskbar -1 with a tray → hidden") << "-1" << true << true;
        QTest::newRow("HideTaskbar 0 → stays on the taskbar") << "0" << true << false;
        QTest::newRow("HideTaskbar 1 without a tray → never hidden") << "1" << false << false;
    }
    void minimiseRule()
    {
        QFETCH(QString, hideTaskbar);
        QFETCH(bool, hasTray);
        QFETCH(bool, hidden);
        WriteGbk(iniPath(), QStringLiteral("[monitoring]\r\nHideTaskbar=%1\r\n").arg(hideTaskbar));
        m_fake.tray->hasTray = hasTray;
        Form1 &form = start();
        form.showMinimized();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(form.isHidden(), hidden);
        QVERIFY(form.isMinimized());

        // A left press on the icon (or the menu's "显示主界面") brings it back in normal state.
        if (hasTray)
            m_fake.tray->pressLeft();
        else
            ui().popShow->trigger();
        QVERIFY(form.isVisible());
        QVERIFY(!form.isMinimized());
    }

    void popShowOnAHiddenWindow()
    {
        Form1 &form = start();
        form.hide();
        ui().popShow->trigger();
        QVERIFY(form.isVisible());
        // And a left press on a window already shown keeps it shown.
        m_fake.tray->pressLeft();
        QVERIFY(form.isVisible() && !form.isMinimized());
    }

    void balloonTitleCutToItsField()
    {
        Form1 &form = start(false);
        const QString title = QString(40, QChar(0x80A1)); // 股 × 40: 80 GBK bytes
        QVERIFY(form.ShowBalloon(title, QStringLiteral("￥10.50")));
        QCOMPARE(m_fake.tray->balloons.last().first, QString(31, QChar(0x80A1)));
        QCOMPARE(m_fake.tray->balloons.last().second, QStringLiteral("￥10.50"));
    }

    void calculatorCommand()
    {
        start(false);
        m_fake.programs->startable = {QStringLiteral("galculator"), QStringLiteral("xcalc")};
        ui().calcmenu->trigger();
        QCOMPARE(m_fake.programs->attempts,
                 (QStringList{"gnome-calculator", "kcalc", "galculator"}));
        QVERIFY(m_fake.boxes->shown.isEmpty());

        m_fake.programs->startable.clear();
        m_fake.programs->attempts.clear();
        ui().calcmenu->trigger();
        QCOMPARE(m_fake.programs->attempts, DesktopCalculators());
        QCOMPARE(m_fake.boxes->shown.size(), 1);
        QCOMPARE(m_fake.boxes->shown.last().kind, ShownBox::Critical);
        QCOMPARE(m_fake.boxes->shown.last().caption, QStringLiteral("错误"));
        QCOMPARE(lastMessage(), QStringLiteral("无法启动计算器"));
    }
};

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
