#include "ui/desktop_notifications.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QImage>
#include <QVariantMap>

namespace {

// The "image-data" hint: (iiibiiay) width, height, row stride, alpha,
// bits per sample, channels, RGBA bytes.
struct NotificationImage
{
    QImage image;
};

QDBusArgument &operator<<(QDBusArgument &argument, const NotificationImage &picture)
{
    const QImage &image = picture.image;
    argument.beginStructure();
    argument << image.width() << image.height() << int(image.bytesPerLine()) << true << 8 << 4
             << QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, NotificationImage &)
{
    return argument; // never read back
}

} // namespace

Q_DECLARE_METATYPE(NotificationImage)

namespace quorvane {

namespace {

class NoDesktopNotifications final : public DesktopNotifications
{
public:
    bool notify(const QIcon &, const QString &, const QString &, bool) override { return false; }
};

class DbusNotifications final : public DesktopNotifications
{
public:
    bool notify(const QIcon &icon, const QString &title, const QString &text, bool alarm) override
    {
        // The server's reply (or the bus's error when there is none) is not awaited.
        return QDBusConnection::sessionBus().send(NotifyCall(icon, title, text, alarm));
    }
};

} // namespace

QDBusMessage NotifyCall(const QIcon &icon, const QString &title, const QString &text, bool alarm)
{
    static const QMetaType registered = qDBusRegisterMetaType<NotificationImage>();
    (void)registered;
    const QString appId = QStringLiteral(QUORVANE_APP_ID); // the icon's name and the desktop entry's
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), appId);
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(alarm ? 2 : 1)));
    if (!icon.isNull() && !QIcon::hasThemeIcon(appId)) {
        const QImage image = icon.pixmap(48, 48).toImage().convertToFormat(QImage::Format_RGBA8888);
        hints.insert(QStringLiteral("image-data"), QVariant::fromValue(NotificationImage{image}));
    }
    // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout (-1: the server's)
    call << QStringLiteral("Quorvane") << 0u << appId << title << text << QStringList() << hints << -1;
    return call;
}

std::unique_ptr<DesktopNotifications> MakeDesktopNotifications()
{
    if (QDBusConnection::sessionBus().isConnected())
        return std::make_unique<DbusNotifications>();
    return std::make_unique<NoDesktopNotifications>();
}

} // namespace quorvane
