// The main window's update check: the questions and messages around the
// decisions of update/update_check.h.

#include "ui/busy_cursor.h"
#include "ui/form1.h"
#include "ui/version.h"
#include "update/update_check.h"

namespace quorvane {

void Form1::CheckUpdateVersion(bool Flag)
{
    // At start-up the window is not shown yet: the boxes stand on their own.
    QWidget *owner = isVisible() ? this : nullptr;
    MessageBoxes &boxes = *m_platform.messageBoxes;
    const QString host = network.UpdateHost.trimmed();
    if (host.isEmpty()) {
        if (Flag)
            boxes.information(owner, QStringLiteral("提示"),
                              QStringLiteral("没有设置升级服务器（setup.ini 的 [network] 节 UpdateHost）"));
        return;
    }

    PublishedVersion published;
    {
        BusyCursor busy;
        published = FetchPublishedVersion(host, ShortVersion());
    }
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
