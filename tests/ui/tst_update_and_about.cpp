// The update check from the menu and at start-up against a server on
// 127.0.0.1, and the about box.

#include "fake_platform.h"
#include "quote_stand_in.h"

#include "settings/ini_file.h"
#include "settings/settings_store.h"
#include "ui/frm_about.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace quorvane;
using namespace quorvane::testing;

namespace {

class FakeProgramStarter final : public ProgramStarter
{
public:
    QStringList started; // every program tried
    QString startable;   // the one program that starts
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

    // setup.ini naming the server (none for an empty host), last opening `minutesAgo` back.
    void configure(const QString &host, qint64 minutesAgo)
    {
        const QDateTime last = QDateTime::currentDateTime().addSecs(-60 * minutesAgo);
        WriteGbk(path("setup.ini"), QStringLiteral("[setup]\r\nUpdateDateTime=%1\r\n[network]\r\nUpdateHost=%2\r\n")
                                        .arg(FormatUpdateDateTime(last), host));
    }
    QString storedUpdateDateTime() const
    {
        ClassIniFile ini;
        ini.setINIFileName(path("setup.ini"));
        return ini.GetIniKey(QStringLiteral("setup"), QStringLiteral("UpdateDateTime"), QString());
    }

private slots:
    void init()
    {
        reset();
        server = std::make_unique<QuoteStandIn>();
    }
    void cleanup()
    {
        form.reset();
        server.reset();
    }

    void menuCheckReportsEveryOutcome()
    {
        const QString dead = [] { return QuoteStandIn().host(); }(); // a port nobody listens on
        const struct
        {
            const char *name;
            QByteArray page; // empty: no page at all (404)
            QString host;
            ShownBox shown;
        } cases[] = {
            {"1.5 is this version", "1.5", server->host(), Current},
            {"1.10 is the number 1.1", "1.10\r\n", server->host(), Current},
            {"an error page", "<html><body>Service Unavailable</body></html>", server->host(), Failed},
            {"no page", {}, server->host(), Failed},
            {"a dead server", "1.6", dead, Failed},
            {"no server configured", "1.6", QString(), NoServer},
            {"1.6 is newer", "1.6", server->host(), Offer},
        };
        for (const auto &c : cases) {
            reset();
            configure(c.host, 0);
            const QByteArray before = setupIni();
            if (!c.page.isEmpty())
                server->setReply(QStringLiteral("/StockVersion.html"), c.page);
            boxes->nextAnswers = {MessageBoxes::Answer::Cancel};
            start();
            server->takeRequests();
            ui().CheckUpdate->trigger();
            QCOMPARE(boxes->shown, QList<ShownBox>{c.shown});
            QVERIFY2(urls->opened.isEmpty(), c.name);
            QCOMPARE(setupIni(), before); // Cancel writes nothing either
            QCOMPARE(server->takeRequests().size(), c.host == server->host() ? 1 : 0);
        }
    }

    void startUpCheckOnceSevenDaysHavePassed()
    {
        // Within seven days nothing is asked (the exact boundary is the rule's own
        // test); past them, the offer comes before the window is shown.
        configure(server->host(), 10079);
        server->setReply(QStringLiteral("/StockVersion.html"), "1.6");
        start(false);
        QVERIFY(server->takeRequests().isEmpty() && boxes->shown.isEmpty());

        for (bool browserStarts : {false, true}) {
            reset();
            configure(server->host(), 10081);
            const QString before = storedUpdateDateTime();
            urls->succeeds = browserStarts;
            const QDateTime asked = QDateTime::currentDateTime().addMSecs(-1000);
            start(false);
            QVERIFY(!form->isVisible());
            QCOMPARE(urls->opened, QList<QUrl>{QUrl(QStringLiteral("http://%1/ark/index12.asp").arg(server->host()))});
            QCOMPARE(form->store.UpdateDateTime, ParseUpdateDateTime(before)); // the run's copy stays
            if (!browserStarts) {
                QCOMPARE(boxes->shown, (QList<ShownBox>{Offer, NoBrowser}));
                QCOMPARE(storedUpdateDateTime(), before);
                continue;
            }
            QCOMPARE(boxes->shown, QList<ShownBox>{Offer});
            const QDateTime written = ParseUpdateDateTime(storedUpdateDateTime());
            QVERIFY(written >= asked && written <= QDateTime::currentDateTime());
        }
        // The next start does not ask the server.
        server->takeRequests();
        boxes->shown.clear();
        start(false);
        QVERIFY(server->takeRequests().isEmpty() && boxes->shown.isEmpty());
    }

    void startUpCheckIsSilentUnlessNewer()
    {
        configure(server->host(), 20000);
        server->setReply(QStringLiteral("/StockVersion.html"), "1.5");
        start(false);
        configure(server->host(), 20000);
        server->setReply(QStringLiteral("/StockVersion.html"), "garbage");
        start(false);
        QCOMPARE(server->takeRequests().size(), 2);
        QVERIFY(boxes->shown.isEmpty());
    }

    void aboutBoxOpensOnceWithoutBlocking()
    {
        start();
        ui().AboutMe->trigger();
        ui().AboutMe->trigger();
        const QList<FrmAbout *> open = form->findChildren<FrmAbout *>();
        QCOMPARE(open.size(), 1);
        FrmAbout *about = open.first();
        QVERIFY(about->isVisible() && !about->isModal() && form->isEnabled());
        QCOMPARE(about->windowTitle(), QStringLiteral("关于 Quorvane"));
        QCOMPARE(about->lblTitle->text(), QStringLiteral("Quorvane  版本 1.5.389"));
        QCOMPARE(about->lblDescription->text(), QStringLiteral("　　\r\n　　如果您有好的建议，请来信告诉我！"));
        QCOMPARE(about->findChild<QGroupBox *>(QStringLiteral("Frame1"))->title(), QStringLiteral("应用程序信息"));
        QCOMPARE(about->cmdSysInfo->text(), QStringLiteral("系统信息(&S)..."));
        // The user's own files, where this run keeps them.
        QVERIFY(about->Text3->text().endsWith(QDir::toNativeSeparators(path("setup.ini"))));
        QVERIFY(about->Text4->text().endsWith(QDir::toNativeSeparators(path("Log.txt"))));
        for (QLineEdit *field : {about->Text1, about->Text2, about->Text3, about->Text4})
            QVERIFY(field->isReadOnly() && !field->text().isEmpty());

        QTest::mouseClick(about->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(form->findChildren<FrmAbout *>().isEmpty()); // closed and gone
    }

    void systemInformationToolOrItsFallback()
    {
        auto starter = std::make_shared<FakeProgramStarter>();
        ProgramFolders folders;
        FrmAbout about(Platform{boxes, urls, starter, nullptr, tray, clipboard}, folders);
        QStringList everyTool;
        for (const ProgramCommand &tool : SystemInformationTools())
            everyTool.append(tool.program);

        about.cmdSysInfo->click();
        QCOMPARE(starter->started, everyTool);
        QCOMPARE(boxes->shown, (QList<ShownBox>{{ShownBox::Plain, "Quorvane", "此时系统信息不可用"}}));

        // The first tool that starts ends the search, without a message.
        starter->started.clear();
        starter->startable = everyTool.at(1);
        about.cmdSysInfo->click();
        QCOMPARE(starter->started, everyTool.mid(0, 2));
        QCOMPARE(boxes->shown.size(), 1);
    }

private:
    QByteArray setupIni() const
    {
        QFile file(path("setup.ini"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

QTEST_MAIN(UpdateAndAboutTest)
#include "tst_update_and_about.moc"
