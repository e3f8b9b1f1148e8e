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
    bool notify(const QIcon &, const QString &, const QString &) override { return false; }
};

class DbusNotifications final : public DesktopNotifications
{
public:
    DbusNotifications() { qDBusRegisterMetaType<NotificationImage>(); }

    bool notify(const QIcon &icon, const QString &title, const QString &text) override
    {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
        QVariantMap hints;
        if (!icon.isNull()) {
            const QImage image = icon.pixmap(48, 48).toImage().convertToFormat(QImage::Format_RGBA8888);
            hints.insert(QStringLiteral("image-data"), QVariant::fromValue(NotificationImage{image}));
        }
        // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout (-1: the server's)
        call << QStringLiteral("Quorvane") << 0u << QString() << title << text << QStringList() << hints << -1;
        // The server's reply (or the bus's error when there is none) is not awaited.
        return QDBusConnection::sessionBus().send(call);
    }
};

} // namespace

std::unique_ptr<DesktopNotifications> MakeDesktopNotifications()
{
    if (QDBusConnection::sessionBus().isConnected())
        return std::make_unique<DbusNotifications>();
    return std::make_unique<NoDesktopNotifications>();
}

} // namespace quorvane
