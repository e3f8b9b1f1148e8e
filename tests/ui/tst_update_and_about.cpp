// The update check from the menu and at start-up against a server on
// 127.0.0.1, and the about box.

#include "fake_platform.h"
#include "quote_stand_in.h"

#include "settings/settings_store.h"
#include "ui/frm_about.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace quorvane;
using namespace quorvane::testing;

namespace {

struct FakeProgramStarter final : ProgramStarter
{
    QStringList started;
    QString startable; // the one program that starts
    bool start(const QString &program, const QStringList &) override
    {
        started.append(program);
        return program == startable;
    }
};

const ShownBox Current{ShownBox::Information, "提示", "您当前的版本是最新版本，不需要升级"};
const ShownBox Failed{ShownBox::Information, "提示", "检查更新失败，无法取得最新版本信息"};
const ShownBox NoServer{ShownBox::Information, "提示", "没有设置升级服务器（setup.ini 的 [network] 节 UpdateHost）"};
const ShownBox Offer{ShownBox::Question, "Quorvane 升级提示", "发现新版本，是否查看？"};
const ShownBox NoBrowser{ShownBox::Critical, "错误", "调用浏览器错误！"};

} // namespace

class UpdateAndAboutTest : public QObject, WindowFixture
{
    Q_OBJECT

    std::unique_ptr<QuoteStandIn> server;

    // A fresh window's setup.ini: the server's host (may be empty), the last opening minutesAgo back.
    void configure(const QString &host, qint64 minutesAgo, const QByteArray &page)
    {
        reset();
        const QDateTime last = QDateTime::currentDateTime().addSecs(-60 * minutesAgo);
        WriteGbk(path("setup.ini"), QStringLiteral("[setup]\r\nUpdateDateTime=%1\r\n[network]\r\nUpdateHost=%2\r\n")
                                        .arg(FormatUpdateDateTime(last), host));
        server->setReply(QStringLiteral("/StockVersion.html"), page); // an empty page: none (404)
        server->takeRequests();
    }
    QByteArray setupIni() const { return ReadBytes(path("setup.ini")); }

private slots:
    void init() { server = std::make_unique<QuoteStandIn>(); }
    void cleanup()
    {
        form.reset();
        server.reset();
    }

    void menuCheckReportsEveryOutcome()
    {
        const QString dead = QuoteStandIn().host(); // a port nobody listens on any more
        const QString live = server->host();
        const std::tuple<QByteArray, QString, ShownBox> cases[] = {
            {"1.5", live, Current}, {"<html><body>Service Unavailable</body></html>", live, Failed}, {"", live, Failed},
            {"1.6", dead, Failed}, {"1.6", QString(), NoServer}, {"1.6", live, Offer} /* answered Cancel */};
        for (const auto &[page, host, shown] : cases) {
            configure(host, 0, page);
            const QByteArray before = setupIni();
            boxes->nextAnswers = {MessageBoxes::Answer::Cancel};
            start();
            ui().CheckUpdate->trigger();
            QCOMPARE(boxes->shown, QList<ShownBox>{shown});
            QVERIFY(urls->opened.isEmpty() && setupIni() == before);
            QCOMPARE(server->takeRequests().size(), host == live ? 1 : 0);
        }
    }

    void startUpCheckOnceSevenDaysHavePassed()
    {
        // Within seven days the server is not asked (the exact boundary is the rule's own test).
        configure(server->host(), 10079, "1.6");
        start(false);
        QVERIFY(server->takeRequests().isEmpty());
        configure(server->host(), 20000, "1.5"); // past them, only a newer version speaks
        start(false);
        QTRY_VERIFY(!form->updateCheckPending());
        QVERIFY(server->takeRequests().size() == 1 && boxes->shown.isEmpty());

        // The window does not wait for the answer; the offer comes with it. The
        // time is written only once the browser has started, and into the file alone.
        for (bool browserStarts : {false, true}) {
            configure(server->host(), 10081, "1.6");
            const QByteArray before = setupIni();
            urls->succeeds = browserStarts;
            const QDateTime asked = QDateTime::currentDateTime().addSecs(-1);
            start(false);
            QVERIFY(boxes->shown.isEmpty());
            QTRY_VERIFY(!form->updateCheckPending());
            QCOMPARE(urls->opened, QList<QUrl>{QUrl(QStringLiteral("http://%1/ark/index12.asp").arg(server->host()))});
            QCOMPARE(boxes->shown, (browserStarts ? QList<ShownBox>{Offer} : QList<ShownBox>{Offer, NoBrowser}));
            QVERIFY(form->store.UpdateDateTime < asked.addDays(-7));
            if (!browserStarts)
                QCOMPARE(setupIni(), before);
        }
        // The next start reads the time written and does not ask.
        server->takeRequests();
        boxes->shown.clear();
        start(false);
        QVERIFY(server->takeRequests().isEmpty() && boxes->shown.isEmpty());
        const QDateTime written = form->store.UpdateDateTime;
        QVERIFY(written > QDateTime::currentDateTime().addSecs(-5) && written <= QDateTime::currentDateTime());
    }

    void aboutBox()
    {
        reset();
        start();
        ui().AboutMe->trigger();
        ui().AboutMe->trigger(); // brings the open one to the front
        QCOMPARE(form->findChildren<FrmAbout *>().size(), 1);
        FrmAbout *about = form->findChild<FrmAbout *>();
        QVERIFY(about->isVisible() && !about->isModal());
        QCOMPARE(about->lblTitle->text(), QStringLiteral("Quorvane  版本 1.5.389"));
        QVERIFY(about->Text3->text().endsWith(path("setup.ini")));
        QTest::mouseClick(about->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(!form->findChild<FrmAbout *>());

        // The first system-information tool that starts, else the message.
        auto starter = std::make_shared<FakeProgramStarter>();
        FrmAbout alone(Platform{boxes, urls, starter, nullptr, tray, clipboard}, ProgramFolders());
        alone.cmdSysInfo->click();
        QCOMPARE(starter->started, QStringList({"kinfocenter", "gnome-control-center", "xfce4-about", "hardinfo2", "hardinfo"}));
        QCOMPARE(boxes->shown, (QList<ShownBox>{{ShownBox::Plain, "Quorvane", "此时系统信息不可用"}}));
        starter->started.clear(); // stops at the first that starts
        starter->startable = QStringLiteral("gnome-control-center");
        alone.cmdSysInfo->click();
        QVERIFY(starter->started.size() == 2 && boxes->shown.size() == 1);
    }
};

QTEST_MAIN(UpdateAndAboutTest)
#include "tst_update_and_about.moc"
