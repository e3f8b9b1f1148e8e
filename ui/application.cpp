#include "ui/application.h"

#include "ui/app_style.h"
#include "ui/command_line.h"
#include "ui/form1.h"
#include "ui/single_instance.h"
#include "ui/stock_panel.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWindow>

#include <cstdio>

namespace quorvane {

namespace {

// Calls back at the first exposure of a window.
class FirstExposure final : public QObject
{
public:
    FirstExposure(QWidget *widget, std::function<void(QWidget *)> callback)
        : QObject(widget), m_widget(widget), m_callback(std::move(callback))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && m_callback && m_widget->windowHandle()->isExposed()) {
            auto callback = std::move(m_callback);
            m_callback = nullptr;
            callback(m_widget);
        }
        return false;
    }

private:
    QWidget *m_widget;
    std::function<void(QWidget *)> m_callback;
};

void Print(const CommandLineAnswer &answer)
{
    std::fputs(qPrintable(answer.standardOutput), stdout);
    std::fputs(qPrintable(answer.standardError), stderr);
}

QStringList ArgumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

int RunApplication(int &argc, char **argv, const std::function<void(QWidget *)> &onShown)
{
    // Answered before any window, so that it needs no display.
    if (!AnswerCommandLine(ArgumentsOf(argc, argv)).run) {
        QCoreApplication textOnly(argc, argv);
        const CommandLineAnswer answer = AnswerCommandLine(QCoreApplication::arguments());
        Print(answer);
        return answer.exitCode;
    }
    QApplication app(argc, argv);
    // Lower case like the package: it names the data folders (~/.local/share/quorvane,
    // /usr/share/quorvane) and the window class the desktop entry matches.
    QApplication::setApplicationName(QStringLiteral("quorvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORVANE_APP_ID));
    QApplication::setStyle(new AppStyle);
    // The window hides to the notification area; only the exit sequence ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    // Before anything is read: a second copy would save over the first one's settings.
    SingleInstance single(QStringLiteral(QUORVANE_APP_ID));
    if (single.claim(QDBusConnection::sessionBus()) == SingleInstance::Outcome::HandedOver)
        return 0;

    Form1 window(MakeQtPlatform(), ProgramFoldersOfThisProcess());
    QObject::connect(&single, &SingleInstance::showRequested, &window, [&window](const QString &token) {
        // Wayland moves the focus only with the launcher's token.
        if (!token.isEmpty())
            qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
        window.trayLeftPress();
    });
    QObject::connect(&window, &Form1::exitConfirmed, &app, &QApplication::quit, Qt::QueuedConnection);
    window.Form_Load();
    StockPanel stockPanel(window);
    if (onShown) {
        window.winId(); // creates the window handle to watch
        window.windowHandle()->installEventFilter(new FirstExposure(&window, onShown));
    }
    window.centreOnScreen();
    window.show();
    return app.exec();
}

} // namespace quorvane
