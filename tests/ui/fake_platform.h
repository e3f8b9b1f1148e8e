#pragma once

// Recording stand-ins for the desktop services: they answer message boxes in
// advance and remember what a user would have seen.

#include "ui/platform.h"

#include <QApplication>
#include <QList>
#include <QMenu>
#include <QPair>
#include <QSet>
#include <QWidget>

namespace quorvane::testing {

struct ShownBox
{
    enum Kind { Information, Critical, Plain, Question } kind;
    QString caption;
    QString text;
};

class FakeMessageBoxes final : public MessageBoxes
{
public:
    QList<ShownBox> shown;
    QList<Answer> nextAnswers; // taken in turn by question(); OK when empty

    void information(QWidget *, const QString &caption, const QString &text) override
    {
        shown.append({ShownBox::Information, caption, text});
    }
    void critical(QWidget *, const QString &caption, const QString &text) override
    {
        shown.append({ShownBox::Critical, caption, text});
    }
    void plain(QWidget *, const QString &text) override
    {
        shown.append({ShownBox::Plain, QStringLiteral("Quorvane"), text});
    }
    Answer question(QWidget *, const QString &caption, const QString &text) override
    {
        shown.append({ShownBox::Question, caption, text});
        return nextAnswers.isEmpty() ? Answer::Ok : nextAnswers.takeFirst();
    }
};

class FakeUrlOpener final : public UrlOpener
{
public:
    QList<QUrl> opened;
    bool succeeds = true;
    bool open(const QUrl &url) override
    {
        opened.append(url);
        return succeeds;
    }
};

class FakeProgramStarter final : public ProgramStarter
{
public:
    QStringList attempts;
    QSet<QString> startable;
    bool start(const QString &program, const QStringList &) override
    {
        attempts.append(program);
        return startable.contains(program);
    }
};

class FakeSoundPlayer final : public SoundPlayer
{
public:
    QStringList played;
    void play(const QString &wavPath) override { played.append(wavPath); }
};

class FakeTrayIcon final : public TrayIcon
{
public:
    bool hasTray = true;
    bool present = false;
    int adds = 0;
    int removes = 0;
    QString tip;
    QMenu *menu = nullptr;
    std::function<void()> onLeftPress;
    QList<QPair<QString, QString>> balloons;

    bool supportsTray() const override { return hasTray; }
    void add(const QIcon &, const QString &tipText, QMenu *contextMenu, std::function<void()> left) override
    {
        ++adds;
        present = hasTray;
        tip = tipText;
        menu = contextMenu;
        onLeftPress = std::move(left);
    }
    void remove() override
    {
        ++removes;
        present = false;
    }
    bool showBalloon(const QString &title, const QString &text) override
    {
        balloons.append({title, text});
        return present;
    }
    void pressLeft()
    {
        if (present && onLeftPress)
            onLeftPress();
    }
};

class FakeClipboard final : public Clipboard
{
public:
    QString content;
    std::function<void()> onChange;
    QString text() const override { return content; }
    void setChangeHandler(std::function<void()> handler) override { onChange = std::move(handler); }
    // Copies text, as another program would.
    void put(const QString &text)
    {
        content = text;
        if (onChange)
            onChange();
    }
};

struct FakePlatform
{
    std::shared_ptr<FakeMessageBoxes> boxes = std::make_shared<FakeMessageBoxes>();
    std::shared_ptr<FakeUrlOpener> urls = std::make_shared<FakeUrlOpener>();
    std::shared_ptr<FakeProgramStarter> programs = std::make_shared<FakeProgramStarter>();
    std::shared_ptr<FakeSoundPlayer> sounds = std::make_shared<FakeSoundPlayer>();
    std::shared_ptr<FakeTrayIcon> tray = std::make_shared<FakeTrayIcon>();
    std::shared_ptr<FakeClipboard> clipboard = std::make_shared<FakeClipboard>();

    Platform platform() const { return {boxes, urls, programs, sounds, tray, clipboard}; }
};

} // namespace quorvane::testing
