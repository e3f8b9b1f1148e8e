#include "ui/platform.h"

#include "ui/desktop_notifications.h"
#include "ui/program_folders.h"
#include "ui/sound/sound_backend.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPluginLoader>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QSystemTrayIcon>

#include <algorithm>

namespace quorvane {

namespace {

QString ProgramName()
{
    return QStringLiteral("Quorvane");
}

// A box sized for a short text is narrower than its caption in the window
// manager's (larger, bold) title font beside its buttons, and the caption gets cut:
// a blank row as wide as that keeps it whole.
void KeepCaptionWhole(QMessageBox &box, const QString &caption)
{
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    if (titleFont.pointSizeF() > 0)
        titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    else
        titleFont.setPixelSize(titleFont.pixelSize() * 5 / 4);
    const int titleBarButtons = 4 * QFontMetrics(titleFont).height() + 40;
    const int width = std::min(QFontMetrics(titleFont).horizontalAdvance(caption) + titleBarButtons, 480);
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

// Boxes with the buttons in the program's language, whatever Qt translations are installed.
int ShowBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption, const QString &text, bool withCancel)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    KeepCaptionWhole(box, caption);
    if (withCancel) {
        box.addButton(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
    }
    return box.exec();
}

class QtMessageBoxes final : public MessageBoxes
{
public:
    void information(QWidget *parent, const QString &caption, const QString &text) override
    {
        ShowBox(parent, QMessageBox::Information, caption, text, false);
    }
    void critical(QWidget *parent, const QString &caption, const QString &text) override
    {
        ShowBox(parent, QMessageBox::Critical, caption, text, false);
    }
    void plain(QWidget *parent, const QString &text) override
    {
        ShowBox(parent, QMessageBox::NoIcon, ProgramName(), text, false);
    }
    void plainModeless(QWidget *parent, const QString &text) override
    {
        auto *box = new QMessageBox(QMessageBox::NoIcon, ProgramName(), text, QMessageBox::Ok, parent);
        box->button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
        KeepCaptionWhole(*box, ProgramName());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        box->show();
    }
    Answer question(QWidget *parent, const QString &caption, const QString &text) override
    {
        const int button = ShowBox(parent, QMessageBox::Question, caption, text, true);
        return button == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
    }
};

class QtUrlOpener final : public UrlOpener
{
public:
    // QDesktopServices counts an address as opened once xdg-open has started;
    // its exit status is what tells whether a browser took it.
    bool open(const QUrl &url) override
    {
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty())
            return QDesktopServices::openUrl(url);
        auto *process = new QProcess;
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->setStandardInputFile(QProcess::nullDevice());
        process->start(opener, {url.toString(QUrl::FullyEncoded)});
        if (process->waitForFinished(OpenerWaitMs) || process->state() == QProcess::NotRunning) {
            const bool opened = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0
                                && process->error() == QProcess::UnknownError;
            delete process;
            return opened;
        }
        // Still running: it has started a browser in the foreground, which
        // must not be ended with it.
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return true;
    }

private:
    static constexpr int OpenerWaitMs = 3000;
};

class QtProgramStarter final : public ProgramStarter
{
public:
    bool start(const QString &program, const QStringList &arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }
};

class QtSoundPlayer final : public SoundPlayer
{
public:
    // The plug-in's objects need the multimedia objects of the running
    // application: left to the end of the process, they are destroyed after
    // those and the exit crashes or hangs. Unloading destroys them now.
    ~QtSoundPlayer() override
    {
        if (m_loader.isLoaded())
            m_loader.unload();
    }

    void play(const QString &wavPath) override
    {
        // A missing file, a missing plug-in or a file that will not play: the desktop's alert.
        if (!QFileInfo(wavPath).isFile()) {
            QApplication::beep();
            return;
        }
        if (!m_loaded) {
            m_loaded = true;
            m_loader.setFileName(SoundPluginPath(QCoreApplication::applicationDirPath()));
            m_backend = qobject_cast<SoundBackend *>(m_loader.instance());
        }
        if (!m_backend) {
            QApplication::beep();
            return;
        }
        // An alarm still sounding is not started again.
        if (!m_backend->isPlaying())
            m_backend->play(wavPath, [] { QApplication::beep(); });
    }

private:
    bool m_loaded = false;
    QPluginLoader m_loader;
    SoundBackend *m_backend = nullptr;
};

class QtTrayIcon final : public TrayIcon
{
public:
    bool supportsTray() const override
    {
        return QSystemTrayIcon::isSystemTrayAvailable() && m_icon && m_icon->isVisible();
    }

    void add(const QIcon &icon, const QString &tip, QMenu *contextMenu,
             std::function<void()> onLeftPress) override
    {
        remove();
        m_alertIcon = icon;
        m_icon = std::make_unique<QSystemTrayIcon>(icon);
        m_icon->setToolTip(tip);
        m_icon->setContextMenu(contextMenu);
        m_onLeftPress = std::move(onLeftPress);
        QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             if (reason == QSystemTrayIcon::Trigger && m_onLeftPress)
                                 m_onLeftPress();
                         });
        m_icon->show();
    }

    void remove() override
    {
        if (m_icon)
            m_icon->hide();
        m_icon.reset();
    }

    bool showBalloon(const QString &title, const QString &text, bool alarm) override
    {
        if (m_icon && QSystemTrayIcon::isSystemTrayAvailable() && QSystemTrayIcon::supportsMessages()) {
            if (alarm)
                m_icon->showMessage(title, text, QSystemTrayIcon::Warning);
            else
                m_icon->showMessage(title, text, m_icon->icon());
            return true;
        }
        // No notification area, where a balloon would never be seen.
        if (!m_notifications)
            m_notifications = MakeDesktopNotifications();
        return m_notifications->notify(m_alertIcon, title, text, alarm);
    }

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
    QIcon m_alertIcon;
    std::unique_ptr<DesktopNotifications> m_notifications;
    std::function<void()> m_onLeftPress;
};

class QtClipboard final : public Clipboard
{
public:
    ~QtClipboard() override { QObject::disconnect(m_changed); }
    QString text() const override { return QGuiApplication::clipboard()->text(); }
    void setChangeHandler(std::function<void()> onChange) override
    {
        QObject::disconnect(m_changed);
        if (onChange) {
            QClipboard *clipboard = QGuiApplication::clipboard();
            m_changed = QObject::connect(clipboard, &QClipboard::dataChanged, clipboard, std::move(onChange));
        }
    }

private:
    QMetaObject::Connection m_changed;
};

} // namespace

Platform MakeQtPlatform()
{
    Platform p;
    p.messageBoxes = std::make_shared<QtMessageBoxes>();
    p.urlOpener = std::make_shared<QtUrlOpener>();
    p.programStarter = std::make_shared<QtProgramStarter>();
    p.soundPlayer = std::make_shared<QtSoundPlayer>();
    p.trayIcon = std::make_shared<QtTrayIcon>();
    p.clipboard = std::make_shared<QtClipboard>();
    return p;
}

QString CutToGbkBytes(const QString &text, int maxBytes)
{
    QStringEncoder gbk("GBK");
    int bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        // A surrogate pair is one character.
        const qsizetype len = (text.at(end).isHighSurrogate() && end + 1 < text.size()) ? 2 : 1;
        const QByteArray encoded = gbk.encode(QStringView(text).mid(end, len));
        if (bytes + encoded.size() > maxBytes)
            break;
        bytes += int(encoded.size());
        end += len;
    }
    return text.left(end);
}

} // namespace quorvane
