// The yardstick: the least a Qt Widgets program does to show one line edit.

#include "ui_probe.h"

#include <QApplication>
#include <QLineEdit>
#include <QWindow>

namespace {

class FirstExposure final : public QObject
{
public:
    explicit FirstExposure(QWidget *widget) : QObject(widget), m_widget(widget) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && !m_done && m_widget->windowHandle()->isExposed()) {
            m_done = true;
            quorvane::bench::ReportShown(m_widget);
        }
        return false;
    }

private:
    QWidget *m_widget;
    bool m_done = false;
};

} // namespace

int main(int argc, char **argv)
{
    quorvane::bench::ReportMainEntered();
    QApplication app(argc, argv);
    QLineEdit edit;
    edit.winId();
    edit.windowHandle()->installEventFilter(new FirstExposure(&edit));
    edit.show();
    return app.exec();
}
