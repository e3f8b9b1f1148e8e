// The main window's update check: the questions and messages around the
// decisions of update/update_check.h.

#include "quotes/fetch_thread.h"
#include "ui/busy_cursor.h"
#include "ui/form1.h"
#include "ui/version.h"
#include "update/update_check.h"

namespace quorvane {

void Form1::CheckUpdateVersion(bool Flag)
{
    const QString host = network.UpdateHost.trimmed();
    if (host.isEmpty()) {
        if (Flag)
            m_platform.messageBoxes->information(
                isVisible() ? this : nullptr, QStringLiteral("提示"),
                QStringLiteral("没有设置升级服务器（setup.ini 的 [network] 节 UpdateHost）"));
        return;
    }
    if (!Flag) {
        // A slow or silent server never holds the window back.
        if (!m_updateThread)
            m_updateThread = std::make_unique<FetchThread>();
        m_updateCheckPending = true;
        m_updateThread->run<PublishedVersion>(
            [host](const FetchOptions &options) { return FetchPublishedVersion(host, ShortVersion(), options); },
            [this](PublishedVersion published) {
                m_updateCheckPending = false;
                answerUpdateCheck(false, published);
            });
        return;
    }
    PublishedVersion published;
    {
        BusyCursor busy;
        published = FetchPublishedVersion(host, ShortVersion());
    }
    answerUpdateCheck(true, published);
}

void Form1::answerUpdateCheck(bool Flag, PublishedVersion published)
{
    // Before the window is shown the boxes stand on their own.
    QWidget *owner = isVisible() ? this : nullptr;
    MessageBoxes &boxes = *m_platform.messageBoxes;
    const QString host = network.UpdateHost.trimmed();
    if (published == PublishedVersion::Unknown) {
        // Not knowing the latest version is not knowing that this one is current.
        if (Flag)
            boxes.information(owner, QStringLiteral("提示"), QStringLiteral("检查更新失败，无法取得最新版本信息"));
        return;
    }
    if (published == PublishedVersion::NotNewer) {
        if (Flag)
            boxes.information(owner, QStringLiteral("提示"), QStringLiteral("您当前的版本是最新版本，不需要升级"));
        return;
    }

    if (boxes.question(owner, QStringLiteral("Quorvane 升级提示"), QStringLiteral("发现新版本，是否查看？"))
        != MessageBoxes::Answer::Ok)
        return;
    if (!m_platform.urlOpener->open(QUrl(DownloadPageUrl(host)))) {
        boxes.critical(owner, QStringLiteral("错误"), QStringLiteral("调用浏览器错误！"));
        return;
    }
    // The file only: the run's copy in store takes the new time at the next start.
    m_ini.setINIFileName(m_folders.iniPath());
    if (!m_ini.WriteIniKey(QStringLiteral("setup"), QStringLiteral("UpdateDateTime"),
                           FormatUpdateDateTime(QDateTime::currentDateTime())))
        reportWriteFailure(m_folders.iniPath(), m_ini.lastError());
}

} // namespace quorvane
