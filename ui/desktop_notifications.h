#pragma once

// Alerts on a desktop without a notification area (a stock GNOME desktop has
// none): the freedesktop notification service on the session bus. Without a
// session bus alerts go nowhere, and nothing fails.

#include <QIcon>
#include <QString>

#include <memory>

namespace quorvane {

class DesktopNotifications
{
public:
    virtual ~DesktopNotifications() = default;
    // Hands the alert to the service without waiting for its answer; false
    // when it could not be sent (no session bus).
    virtual bool notify(const QIcon &icon, const QString &title, const QString &text) = 0;
};

// The service when a session bus is there, else one that does nothing.
std::unique_ptr<DesktopNotifications> MakeDesktopNotifications();

} // namespace quorvane
