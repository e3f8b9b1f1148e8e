#pragma once

// Alerts on a desktop without a notification area (a stock GNOME desktop has
// none): the freedesktop notification service on the session bus. Without a
// session bus alerts go nowhere, and nothing fails.

#include <QIcon>
#include <QString>

#include <memory>

class QDBusMessage;

namespace quorvane {

class DesktopNotifications
{
public:
    virtual ~DesktopNotifications() = default;
    // Hands the alert to the service without waiting for its answer; false
    // when it could not be sent (no session bus).
    virtual bool notify(const QIcon &icon, const QString &title, const QString &text, bool alarm) = 0;
};

// The Notify call of one alert. The desktop shows whose it is from the program's
// icon theme name and the desktop-entry hint (the picture of icon goes along
// while the icon theme lacks the program's icon, as in a build tree); an alarm
// is critical, so that it stays until dismissed, the others normal.
QDBusMessage NotifyCall(const QIcon &icon, const QString &title, const QString &text, bool alarm);

// The service when a session bus is there, else one that does nothing.
std::unique_ptr<DesktopNotifications> MakeDesktopNotifications();

} // namespace quorvane
