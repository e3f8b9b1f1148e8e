#pragma once

// Recording stand-ins for the desktop services (message boxes answered in advance,
// what a user would have seen remembered) and the main window started on them.

#include "ui/form1.h"
#include "ui/platform.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace quorvane::testing {

struct ShownBox
{
    enum Kind { Information, Critical, Plain, PlainModeless, Question } kind;
    QString caption, text;
    bool operator==(const ShownBox &) const = default;
};
inline char *toString(const ShownBox &box)
{
    return QTest::toString(QStringLiteral("kind %1, %2: %3").arg(int(box.kind)).arg(box.caption, box.text));
}

class FakeMessageBoxes final : public MessageBoxes
{
public:
    QList<ShownBox> shown;
    QList<Answer> nextAnswers; // taken in turn by question(); OK when empty
    std::function<void()> whileShown; // run once, by the next information box

    void information(QWidget *, const QString &c, const QString &t) override
    {
        shown.append({ShownBox::Information, c, t});
        if (auto run = std::exchange(whileShown, {}))
            run();
    }
    void critical(QWidget *, const QString &c, const QString &t) override { shown.append({ShownBox::Critical, c, t}); }
    void plain(QWidget *, const QString &t) override { shown.append({ShownBox::Plain, "Quorvane", t}); }
    void plainModeless(QWidget *, const QString &t) override { shown.append({ShownBox::PlainModeless, "Quorvane", t}); }
    Answer question(QWidget *, const QString &c, const QString &t) override
    {
        shown.append({ShownBox::Question, c, t});
        return nextAnswers.isEmpty() ? Answer::Ok : nextAnswers.takeFirst();
    }
};

struct FakeUrlOpener final : UrlOpener
{
    QList<QUrl> opened;
    bool succeeds = true;
    bool open(const QUrl &url) override { return opened.append(url), succeeds; }
};

struct FakeTrayIcon final : TrayIcon
{
    bool hasTray = true, present = false;
    QString tip;
    QMenu *menu = nullptr;
    std::function<void()> onLeftPress;
    QList<std::pair<QString, QString>> balloons; // title and text of each shown
    QList<bool> alarms;                          // and whether it was an alarm's

    bool supportsTray() const override { return hasTray; }
    void add(const QIcon &, const QString &tipText, QMenu *contextMenu, std::function<void()> left) override
    {
        present = hasTray;
        tip = tipText;
        menu = contextMenu;
        onLeftPress = std::move(left);
    }
    void remove() override { present = false; }
    bool showBalloon(const QString &title, const QString &text, bool alarm) override
    {
        if (present)
            balloons.append({title, text}), alarms.append(alarm);
        return present;
    }
    void pressLeft()
    {
        if (present && onLeftPress)
            onLeftPress();
    }
};

struct FakeSoundPlayer final : SoundPlayer
{
    QStringList played;
    void play(const QString &wavPath) override { played.append(wavPath); }
};

struct FakeClipboard final : Clipboard
{
    QString content;
    std::function<void()> onChange;
    QString text() const override { return content; }
    void setChangeHandler(std::function<void()> handler) override { onChange = std::move(handler); }
    void put(const QString &text) // as another program would copy it
    {
        content = text;
        if (onChange)
            onChange();
    }
};

inline void WriteGbk(const QString &path, const QString &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringEncoder("GBK").encode(text));
}
inline QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

// The main window of one test: reset() in init(), form.reset() in cleanup().
// No program or sound is ever started.
struct WindowFixture
{
    std::unique_ptr<QTemporaryDir> dir = std::make_unique<QTemporaryDir>();
    std::shared_ptr<FakeMessageBoxes> boxes = std::make_shared<FakeMessageBoxes>();
    std::shared_ptr<FakeUrlOpener> urls = std::make_shared<FakeUrlOpener>();
    std::shared_ptr<FakeTrayIcon> tray = std::make_shared<FakeTrayIcon>();
    std::shared_ptr<FakeClipboard> clipboard = std::make_shared<FakeClipboard>();
    std::shared_ptr<FakeSoundPlayer> sound = std::make_shared<FakeSoundPlayer>();
    std::unique_ptr<Form1> form;
    std::unique_ptr<QWidget> other; // another window, with the focus once active: see activateOther()

    void reset()
    {
        form.reset(); // before its folder goes
        *this = WindowFixture();
    }
    QString path(const char *file) const { return dir->filePath(QLatin1String(file)); }
    const Form1Ui &ui() const { return form->ui(); }

    Form1 &start(bool show = true)
    {
        const QString here = dir->path();
        const ProgramFolders folders{here, here, here, QStringLiteral(QUORVANE_SOURCE_DIR "/data")};
        form = std::make_unique<Form1>(Platform{boxes, urls, nullptr, sound, tray, clipboard}, folders);
        form->Form_Load();
        if (show)
            activate();
        return *form;
    }
    void activate() { activate(form.get()); }
    static void activate(QWidget *window)
    {
        window->show();
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    // Another window takes the activation and the focus, as when the user works elsewhere.
    void activateOther()
    {
        other = std::make_unique<QLineEdit>();
        activate(other.get());
        other->setFocus();
    }
};

} // namespace quorvane::testing
