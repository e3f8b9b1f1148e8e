// The stock panel against a stand-in quote service: codes typed, picked from
// the list or copied to the clipboard, the quotes shown, the network-error
// rule, the site links and the chart pop-up.

#include "fake_platform.h"
#include "quote_stand_in.h"

#include "ui/form1.h"
#include "ui/stock_panel.h"
#include "ui/tip_form.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace quorvane;
using namespace quorvane::testing;

namespace {

const QString NetErrorText = QStringLiteral("联网出错，无法取到股票信息，请检查网络是否正常连接！");

QColor TextColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

void MoveOver(QWidget *widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

QStringList Lines(const QListWidget *list)
{
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
        lines.append(list->item(row)->text());
    return lines;
}

QByteArray TestGif(const char *name)
{
    QFile file(QStringLiteral(QUORVANE_SOURCE_DIR "/tests/ui/data/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class StockPanelTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QuoteStandIn> m_service;
    std::unique_ptr<QTemporaryDir> m_dir;
    FakePlatform m_fake;
    std::unique_ptr<Form1> m_form;
    std::unique_ptr<StockPanel> m_panel;
    std::unique_ptr<QWidget> m_other; // another window to take the activation away

    // Form1 started from a setup.ini whose network section names the stand-in.
    Form1 &start(const QString &monitoring = {}, const QString &quoteHost = {})
    {
        QFile ini(m_dir->filePath(QStringLiteral("setup.ini")));
        [&] { QVERIFY(ini.open(QIODevice::WriteOnly)); }();
        const QString text = QStringLiteral("[network]\r\nQuoteHost=%1\r\nChartHost=%2\r\n[monitoring]\r\n%3")
                                 .arg(quoteHost.isEmpty() ? m_service->host() : quoteHost, m_service->host(),
                                      monitoring);
        ini.write(QByteArray(QStringEncoder("GBK").encode(text)));
        ini.close();

        ProgramFolders folders;
        folders.programFolder = m_dir->path();
        folders.dataFolder = m_dir->path();
        folders.installedDataFolder = QStringLiteral(QUORVANE_SOURCE_DIR "/data");
        m_form = std::make_unique<Form1>(m_fake.platform(), folders);
        m_panel = std::make_unique<StockPanel>(*m_form);
        m_form->Form_Load();
        m_form->show();
        activate();
        return *m_form;
    }
    const Form1Ui &ui() const { return m_form->ui(); }

    void activate()
    {
        QApplication::setActiveWindow(m_form.get());
        [&] { QVERIFY(QTest::qWaitForWindowActive(m_form.get())); }();
    }
    // The window loses the activation and gets it back, as after the user worked elsewhere.
    void comeBack()
    {
        if (!m_other) {
            m_other = std::make_unique<QWidget>();
            m_other->resize(50, 50);
        }
        m_other->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_other.get()));
        m_other->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_other.get()));
        activate();
        QCoreApplication::processEvents(); // the watch runs once the activation is through
    }
    void putOnClipboard(const QString &text) { m_fake.clipboard->put(text); }
    void typeCode(const QString &code)
    {
        ui().StockCode->clear();
        // Chinese comes in as an input method's commit.
        if (code.front().unicode() > 0x7F)
            ui().StockCode->insert(code);
        else
            QTest::keyClicks(ui().StockCode, code);
    }
    QList<ShownBox> netErrors() const
    {
        QList<ShownBox> boxes;
        for (const ShownBox &box : m_fake.boxes->shown) {
            if (box.text == NetErrorText)
                boxes.append(box);
        }
        return boxes;
    }

private slots:
    void init()
    {
        m_service = std::make_unique<QuoteStandIn>();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_fake = FakePlatform();
    }
    void cleanup()
    {
        m_other.reset();
        m_panel.reset();
        m_form.reset();
        m_dir.reset();
        m_service.reset();
    }

    void typingACodeFillsPanelLadderAndSellPrice()
    {
        m_service->setQuote(QStringLiteral("600000"), QStringLiteral("浦发银行"), QStringLiteral("10.00"),
                            QStringLiteral("10.50"));
        start();
        QTest::keyClicks(ui().StockCode, QStringLiteral("600000"));

        QCOMPARE(m_service->requests(), QStringList{QStringLiteral("/list=sh600000")});
        QCOMPARE(m_form->PanelCode, QStringLiteral("600000"));
        QCOMPARE(ui().Label52->text(), QStringLiteral("浦发银行"));
        QCOMPARE(ui().Label53->text(), QStringLiteral("上海交易所"));
        QCOMPARE(ui().Label54->text(), QStringLiteral("600000"));
        QCOMPARE(ui().Label55->text(), QStringLiteral("10.50 (5.00%) ↑"));
        QCOMPARE(ui().sell_Price->text(), QStringLiteral("￥10.50"));
        QCOMPARE(ui().ladderLabel(64)->text(), QStringLiteral(" 10% ￥11.00"));
        QCOMPARE(ui().ladderLabel(60)->text(), QStringLiteral(" 2%  ￥10.20"));
        QCOMPARE(ui().ladderLabel(69)->text(), QStringLiteral("-2%  ￥9.80"));
        QCOMPARE(ui().ladderLabel(65)->text(), QStringLiteral("-10% ￥9.00"));
        // The fifth character's matches stay in the list.
        QVERIFY(ui().StockList->isVisible());
        QCOMPARE(Lines(ui().StockList).value(0), QStringLiteral("600000 浦发银行"));
        QCOMPARE(ui().StockCode->palette().color(QPalette::Base), QColor(255, 192, 128));
    }

    void quoteDirections_data()
    {
        QTest::addColumn<QString>("latest");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("sellPrice");
        QTest::addColumn<QColor>("colour"); // invalid: the window-text colour

        QTest::newRow("10.00 → 10.50 rises") << "10.50" << "10.50 (5.00%) ↑" << "￥10.50" << QColor(255, 0, 0);
        QTest::newRow("10.00 → 9.95 falls") << "9.95" << "9.95 (-0.50%) ↓" << "￥9.95" << QColor(0, 192, 0);
        QTest::newRow("10.00 → 10.000 unchanged") << "10.000" << "10.000" << "￥10.00" << QColor();
        QTest::newRow("0.000 waits for the opening") << "0.000" << "等待开盘" << "￥0.00" << QColor(0, 192, 0);
    }
    void quoteDirections()
    {
        QFETCH(QString, latest);
        QFETCH(QString, caption);
        QFETCH(QString, sellPrice);
        QFETCH(QColor, colour);
        // A falling stock first, so that every colour is seen to change.
        m_service->setQuote(QStringLiteral("600519"), QStringLiteral("贵州茅台"), QStringLiteral("100.00"),
                            QStringLiteral("90.00"));
        m_service->setQuote(QStringLiteral("000001"), QStringLiteral("平安银行"), QStringLiteral("10.00"), latest);
        start();
        typeCode(QStringLiteral("600519"));
        QCOMPARE(TextColour(ui().Label52), QColor(0, 192, 0));
        typeCode(QStringLiteral("000001"));

        QCOMPARE(ui().Label53->text(), QStringLiteral("深圳交易所"));
        QCOMPARE(ui().Label55->text(), caption);
        QCOMPARE(ui().sell_Price->text(), sellPrice);
        QCOMPARE(ui().ladderLabel(64)->text(), QStringLiteral(" 10% ￥11.00"));
        const QColor expected = colour.isValid() ? colour : QApplication::palette(ui().Label52).color(QPalette::WindowText);
        for (const QLabel *label : {ui().Label52, ui().Label53, ui().Label54, ui().Label55})
            QCOMPARE(TextColour(label), expected);
        QVERIFY(m_fake.boxes->shown.isEmpty());
    }

    void failedLookupsShowTheMessageOncePerRun()
    {
        // Name and code are written before the fields that are not numbers stop the step.
        m_service->setQuote(QStringLiteral("600000"), QStringLiteral("浦发银行,open,abc,xyz,high,low,more"));
        start();
        ui().sell_Price->setText(QStringLiteral("￥1.00"));
        QTest::keyClicks(ui().StockCode, QStringLiteral("600000"));
        QCOMPARE(ui().Label52->text(), QStringLiteral("浦发银行"));
        QCOMPARE(ui().Label54->text(), QStringLiteral("600000"));
        QCOMPARE(ui().Label55->text(), QStringLiteral("xyz"));
        QCOMPARE(ui().sell_Price->text(), QStringLiteral("￥1.00"));
        QCOMPARE(netErrors().size(), 1);
        QCOMPARE(netErrors().first().kind, ShownBox::Plain);
        QCOMPARE(netErrors().first().caption, QStringLiteral("Quorvane"));
        QVERIFY(m_form->NetErrorShown);

        // No service at all: nothing more is shown, and the panel keeps its texts.
        m_form->network.QuoteHost = QStringLiteral("127.0.0.1:1");
        ui().Command1->click();
        typeCode(QStringLiteral("000001"));
        QCOMPARE(netErrors().size(), 1);
        QCOMPARE(m_fake.boxes->shown.size(), 1);
        QCOMPARE(ui().Label52->text(), QStringLiteral("浦发银行"));
        QCOMPARE(m_form->PanelCode, QStringLiteral("000001"));
    }

    void searchesTheShippedList()
    {
        start();
        QListWidget *list = ui().StockList;
        typeCode(QStringLiteral("浦发"));
        QCOMPARE(Lines(list), QStringList{QStringLiteral("600000 浦发银行")});
        QVERIFY(list->isVisible());

        typeCode(QStringLiteral("PFYH"));
        QCOMPARE(Lines(list), QStringList{QStringLiteral("600000 浦发银行")});
        typeCode(QStringLiteral("pfyh")); // the search key is matched exactly
        QVERIFY(!list->isVisible());

        typeCode(QStringLiteral("0000"));
        QCOMPARE(list->count(), 10);
        QCOMPARE(Lines(list).first(), QStringLiteral("000001 平安银行"));
        QCOMPARE(Lines(list).at(1), QStringLiteral("000002 万科Ａ"));

        typeCode(QStringLiteral("PA"));
        QVERIFY(Lines(list).contains(QStringLiteral("000001 平安银行")));

        ui().StockCode->setText(QStringLiteral("   ")); // every entry matches
        QCOMPARE(list->count(), 10);
        QVERIFY(list->isVisible());

        ui().StockCode->clear();
        QVERIFY(!list->isVisible());

        ui().StockCode->setText(QStringLiteral("6000001")); // seven digits: no lookup, no match
        QVERIFY(!list->isVisible());
        QVERIFY(m_service->requests().isEmpty());

        // The Calculate command closes the list.
        typeCode(QStringLiteral("浦发"));
        QVERIFY(list->isVisible());
        ui().btn_Sum->click();
        QVERIFY(!list->isVisible());
    }

    void arrowKeysStepThroughTheListAndLookEachUp()
    {
        m_service->setQuote(QStringLiteral("000001"), QStringLiteral("平安银行"), QStringLiteral("10.00"),
                            QStringLiteral("10.10"));
        m_service->setQuote(QStringLiteral("000002"), QStringLiteral("万科Ａ"), QStringLiteral("5.00"),
                            QStringLiteral("4.90"));
        start();
        QListWidget *list = ui().StockList;
        QTest::keyClicks(ui().StockCode, QStringLiteral("0000"));
        QVERIFY(list->isVisible());

        QTest::keyClick(ui().StockCode, Qt::Key_Up); // nothing selected: nothing to step back to
        QVERIFY(list->hasFocus());
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(m_form->defaultButton(), ui().Command1);

        ui().StockCode->setFocus();
        QTest::keyClick(ui().StockCode, Qt::Key_Down);
        QVERIFY(list->hasFocus());
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(ui().StockCode->text(), QStringLiteral("000001"));
        QCOMPARE(ui().Label52->text(), QStringLiteral("平安银行"));

        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(ui().StockCode->text(), QStringLiteral("000002"));
        QCOMPARE(ui().Label52->text(), QStringLiteral("万科Ａ"));
        QCOMPARE(ui().Label55->text(), QStringLiteral("4.90 (-2.00%) ↓"));
        QCOMPARE(m_service->requests(),
                 (QStringList{QStringLiteral("/list=sz000001"), QStringLiteral("/list=sz000002")}));

        // From the box again: one line up.
        ui().StockCode->setFocus();
        QTest::keyClick(ui().StockCode, Qt::Key_Up);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(ui().StockCode->text(), QStringLiteral("000001"));

        // A character typed in the list starts a new search in the box.
        QTest::keyClick(list, 'P');
        QVERIFY(ui().StockCode->hasFocus());
        QCOMPARE(ui().StockCode->text(), QStringLiteral("P"));
        QCOMPARE(ui().StockCode->cursorPosition(), 1);
        QVERIFY(Lines(list).contains(QStringLiteral("000001 平安银行")));

        // A click on the list with nothing selected does nothing.
        list->clearSelection();
        QCOMPARE(ui().StockCode->text(), QStringLiteral("P"));

        // A double click closes the list.
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!list->isVisible());
    }

    void codeBoxClickAndRefresh()
    {
        m_service->setQuote(QStringLiteral("600000"), QStringLiteral("浦发银行"), QStringLiteral("10.00"),
                            QStringLiteral("10.50"));
        start();
        QCOMPARE(m_form->defaultButton(), ui().btn_Sum);
        typeCode(QStringLiteral("600000"));
        QTest::mouseClick(ui().StockCode, Qt::LeftButton);
        QCOMPARE(m_form->defaultButton(), ui().Command1);
        QCOMPARE(ui().StockCode->selectedText(), QStringLiteral("600000"));

        // Enter presses the refresh button: a new lookup, and the list closes.
        m_service->setQuote(QStringLiteral("600000"), QStringLiteral("浦发银行"), QStringLiteral("10.00"),
                            QStringLiteral("10.60"));
        QVERIFY(ui().StockList->isVisible());
        QTest::keyClick(ui().StockCode, Qt::Key_Return);
        QCOMPARE(m_service->requests().size(), 2);
        QCOMPARE(ui().Label55->text(), QStringLiteral("10.60 (6.00%) ↑"));
        QVERIFY(!ui().StockList->isVisible());
        QVERIFY(m_fake.boxes->shown.isEmpty());
    }

    void clipboardCodeIsShownOnce()
    {
        m_service->setQuote(QStringLiteral("000001"), QStringLiteral("平安银行"), QStringLiteral("10.00"),
                            QStringLiteral("10.10"));
        start();
        ui().StockCode->setText(QStringLiteral("abc"));
        putOnClipboard(QStringLiteral("000001"));
        QVERIFY(m_service->requests().isEmpty()); // not before the window comes up
        comeBack();

        // One lookup by the watch, one by the code box taking the code.
        QCOMPARE(m_service->requests(),
                 (QStringList{QStringLiteral("/list=sz000001"), QStringLiteral("/list=sz000001")}));
        QCOMPARE(ui().StockCode->text(), QStringLiteral("000001"));
        QCOMPARE(m_form->PanelCode, QStringLiteral("000001"));
        QCOMPARE(ui().Label52->text(), QStringLiteral("平安银行"));
        QCOMPARE(ui().Label54->text(), QStringLiteral("000001"));
        QCOMPARE(ui().sell_Price->text(), QStringLiteral("￥10.10"));

        // Repaints and later activations make no request for the same text.
        m_service->clearRequests();
        m_form->repaint();
        QCoreApplication::processEvents();
        comeBack();
        putOnClipboard(QStringLiteral("000001"));
        comeBack();
        QVERIFY(m_service->requests().isEmpty());

        // Not a code: seven digits, six characters that are no number.
        for (const QString &text : {QStringLiteral("6000001"), QStringLiteral("60000a")}) {
            putOnClipboard(text);
            comeBack();
        }
        QVERIFY(m_service->requests().isEmpty());
    }

    void clipboardWatchOffOrFailing()
    {
        start(QStringLiteral("IsClipboard=0\r\n"), QStringLiteral("127.0.0.1:1"));
        putOnClipboard(QStringLiteral("000001"));
        comeBack();
        QVERIFY(ui().StockCode->text().isEmpty());
        QVERIFY(m_fake.boxes->shown.isEmpty());

        // On, but the service cannot be reached: one message for the run.
        m_form->store.IsClipboard = QStringLiteral("1");
        putOnClipboard(QStringLiteral("000002"));
        comeBack();
        putOnClipboard(QStringLiteral("000004"));
        comeBack();
        typeCode(QStringLiteral("600000"));
        QCOMPARE(netErrors().size(), 1);
        QVERIFY(ui().Label52->text().isEmpty());
    }

    void siteLinks()
    {
        m_service->setQuote(QStringLiteral("000001"), QStringLiteral("平安银行"), QStringLiteral("10.00"),
                            QStringLiteral("10.10"));
        start(QStringLiteral("DefaultSite=东方财富\r\n"));
        // An empty panel links nowhere.
        QTest::mouseClick(ui().Label52, Qt::LeftButton);
        QVERIFY(m_fake.urls->opened.isEmpty());

        typeCode(QStringLiteral("000001"));
        QTest::mouseClick(ui().Label52, Qt::LeftButton);
        m_form->store.DefaultSite = QStringLiteral("网易财经");
        QTest::mouseClick(ui().Label55, Qt::LeftButton);
        m_form->store.DefaultSite = QStringLiteral("no such site");
        QTest::mouseClick(ui().Label53, Qt::LeftButton);
        QCOMPARE(m_fake.urls->opened,
                 (QList<QUrl>{QUrl(QStringLiteral("http://quote.eastmoney.com/sz000001.html")),
                              QUrl(QStringLiteral("http://quotes.money.163.com/quote/000001.html")),
                              QUrl(QStringLiteral("http://finance.sina.com.cn/realstock/company/sz000001/nc.shtml"))}));
        QVERIFY(m_fake.boxes->shown.isEmpty());

        // A click on a caption is no link.
        QTest::mouseClick(ui().Label5, Qt::LeftButton);
        QCOMPARE(m_fake.urls->opened.size(), 3);

        m_fake.urls->succeeds = false;
        QTest::mouseClick(ui().Label54, Qt::LeftButton);
        QCOMPARE(m_fake.boxes->shown.size(), 1);
        QCOMPARE(m_fake.boxes->shown.first().kind, ShownBox::Critical);
        QCOMPARE(m_fake.boxes->shown.first().caption, QStringLiteral("错误"));
        QCOMPARE(m_fake.boxes->shown.first().text, QStringLiteral("调用浏览器错误！"));
    }

    void hoverShowsTheChartWindow()
    {
        m_service->setQuote(QStringLiteral("000001"), QStringLiteral("平安银行"), QStringLiteral("10.00"),
                            QStringLiteral("10.10"));
        m_service->setReply(QStringLiteral("/newchart/min/n/sz000001.gif"), TestGif("tiny.gif"));
        start(QStringLiteral("showPicture=1\r\n"));
        TipForm &tip = m_panel->tipForm();
        QTimer *timer = ui().Timer1;
        QCOMPARE(timer->interval(), 500);

        // An empty panel: the hand cursor, but no chart.
        QCOMPARE(ui().Label52->cursor().shape(), Qt::PointingHandCursor);
        MoveOver(ui().Label52);
        QVERIFY(timer->isActive());
        QTest::qWait(700);
        QVERIFY(!timer->isActive());
        QVERIFY(!tip.isVisible());

        typeCode(QStringLiteral("000001"));
        m_service->clearRequests();
        MoveOver(ui().Label55);
        QTRY_VERIFY(tip.isVisible());
        QVERIFY(!timer->isActive());
        QCOMPARE(m_service->requests(), QStringList{QStringLiteral("/newchart/min/n/sz000001.gif")});
        QVERIFY(tip.hasPicture());
        QVERIFY(tip.geometry().top() >= ui().Label52->mapToGlobal(QPoint(0, ui().Label52->height())).y());

        // Over the frame: hidden, and a pending pop-up is called off.
        MoveOver(ui().Frame5);
        QVERIFY(!tip.isVisible());
        MoveOver(ui().Label52);
        MoveOver(ui().Label6); // a caption changes nothing
        QVERIFY(timer->isActive());
        MoveOver(ui().Frame5);
        QVERIFY(!timer->isActive());

        // Elsewhere over the window: hidden as well. The same stock shows again without a request.
        MoveOver(ui().Label52);
        QTRY_VERIFY(tip.isVisible());
        MoveOver(m_form->centralWidget());
        QVERIFY(!tip.isVisible());
        QCOMPARE(m_service->requests().size(), 1);

        // With the pop-up off, the panel never opens it.
        m_form->store.showPicture = QStringLiteral("0");
        MoveOver(ui().Label52);
        QTest::qWait(700);
        QVERIFY(!tip.isVisible());
    }
};

QTEST_MAIN(StockPanelTest)
#include "tst_stock_panel.moc"
