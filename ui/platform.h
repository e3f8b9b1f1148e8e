#pragma once

// The desktop services the windows use, each behind a small interface so that
// the widget tests run headless and record what a user would see. The Qt
// implementations live in qt_platform.cpp; a window receives them grouped in
// one Platform in its constructor.

#include <QIcon>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

class QMenu;
class QWidget;

namespace quorvane {

class MessageBoxes
{
public:
    enum class Answer { Ok, Cancel };

    virtual ~MessageBoxes() = default;
    // Modal boxes with an OK button and the named icon.
    virtual void information(QWidget *parent, const QString &caption, const QString &text) = 0;
    virtual void critical(QWidget *parent, const QString &caption, const QString &text) = 0;
    // A box without a caption of its own shows the program's name.
    virtual void plain(QWidget *parent, const QString &text) = 0;
    // The same box shown without waiting for it, and without blocking the window.
    virtual void plainModeless(QWidget *parent, const QString &text) = 0;
    // Question icon, OK and Cancel; anything but OK (Escape, the close box) is Cancel.
    virtual Answer question(QWidget *parent, const QString &caption, const QString &text) = 0;
};

class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    // False when the desktop could not open the address.
    virtual bool open(const QUrl &url) = 0;
};

class ProgramStarter
{
public:
    virtual ~ProgramStarter() = default;
    // Starts the program detached; false when it could not be started.
    virtual bool start(const QString &program, const QStringList &arguments = {}) = 0;
};

class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    // Plays a WAV file without waiting for its end, unless a sound started
    // here earlier still plays. A file that is missing or cannot be played
    // sounds the desktop's default alert instead.
    virtual void play(const QString &wavPath) = 0;
};

class TrayIcon
{
public:
    virtual ~TrayIcon() = default;
    // False when the desktop has no notification area: nothing could bring a
    // hidden window back.
    virtual bool supportsTray() const = 0;
    // Adds the icon (replacing one added before) with its tooltip and the menu
    // of a right press; onLeftPress runs on a left press.
    virtual void add(const QIcon &icon, const QString &tip, QMenu *contextMenu,
                     std::function<void()> onLeftPress) = 0;
    virtual void remove() = 0;
    // A balloon on the icon; on a desktop without a notification area the
    // same alert goes to the desktop's notification service. False when
    // neither could take it. The window cuts the texts to their GBK limits
    // first (CutToGbkBytes). An alarm shows the warning icon on the tray and
    // is a critical notification (it stays until dismissed).
    virtual bool showBalloon(const QString &title, const QString &text, bool alarm) = 0;
};

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual QString text() const = 0;
    // onChange runs whenever the clipboard's content changes, until replaced;
    // an empty function stops it. A desktop that cannot tell keeps silent.
    virtual void setChangeHandler(std::function<void()> onChange) { (void)onChange; }
};

struct Platform
{
    std::shared_ptr<MessageBoxes> messageBoxes;
    std::shared_ptr<UrlOpener> urlOpener;
    std::shared_ptr<ProgramStarter> programStarter;
    std::shared_ptr<SoundPlayer> soundPlayer;
    std::shared_ptr<TrayIcon> trayIcon;
    std::shared_ptr<Clipboard> clipboard;
};

// The real desktop services. Call after the QApplication exists.
Platform MakeQtPlatform();

// Texts for the balloon's GBK fields: the longest start of text that fits in
// maxBytes GBK bytes without splitting a character.
QString CutToGbkBytes(const QString &text, int maxBytes);

} // namespace quorvane
