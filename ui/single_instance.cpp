#include "ui/single_instance.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QVariantMap>

namespace quorvane {

namespace {

const QString ApplicationInterface = QStringLiteral("org.freedesktop.Application");
// The second start ends within a second even when the first one is busy;
// a call still waiting is delivered once the first copy is free.
constexpr int HandOverMs = 800;

QVariantMap PlatformData()
{
    QVariantMap data;
    const QString token = StartupActivationToken();
    if (!token.isEmpty()) {
        data.insert(QStringLiteral("activation-token"), token);
        data.insert(QStringLiteral("desktop-startup-id"), token);
    }
    return data;
}

QString TokenOf(const QVariantMap &platformData)
{
    const QString token = platformData.value(QStringLiteral("activation-token")).toString();
    return token.isEmpty() ? platformData.value(QStringLiteral("desktop-startup-id")).toString() : token;
}

} // namespace

// org.freedesktop.Application on the desktop id's object path.
class ApplicationAdaptor final : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    explicit ApplicationAdaptor(SingleInstance *owner) : QDBusAbstractAdaptor(owner), m_owner(owner) {}

public slots:
    void Activate(const QVariantMap &platform_data) { emit m_owner->showRequested(TokenOf(platform_data)); }
    void Open(const QStringList &, const QVariantMap &platform_data) { Activate(platform_data); }
    void ActivateAction(const QString &, const QVariantList &, const QVariantMap &platform_data)
    {
        Activate(platform_data);
    }

private:
    SingleInstance *m_owner;
};

QString StartupActivationToken()
{
    const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    return token.isEmpty() ? qEnvironmentVariable("DESKTOP_STARTUP_ID") : token;
}

SingleInstance::SingleInstance(const QString &appId, const QString &runtimeFolder, QObject *parent)
    : QObject(parent), m_appId(appId), m_runtimeFolder(runtimeFolder)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::objectPath(const QString &appId)
{
    return QLatin1Char('/') + QString(appId).replace(QLatin1Char('.'), QLatin1Char('/'));
}

SingleInstance::Outcome SingleInstance::claim(const QDBusConnection &bus)
{
    if (bus.isConnected() && bus.interface()) {
        if (claimOnBus(bus))
            return Outcome::First;
        if (handOverOnBus(bus))
            return Outcome::HandedOver;
    }
    return claimByLock() ? Outcome::First : Outcome::HandedOver;
}

bool SingleInstance::claimOnBus(QDBusConnection bus)
{
    // The object first, so that a start right after the name is taken finds it.
    auto *adaptor = new ApplicationAdaptor(this);
    if (!bus.registerObject(objectPath(m_appId), this, QDBusConnection::ExportAdaptors)) {
        delete adaptor;
        return false;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        m_appId, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered)
        return true;
    bus.unregisterObject(objectPath(m_appId));
    delete adaptor;
    return false;
}

bool SingleInstance::handOverOnBus(const QDBusConnection &bus)
{
    // The name may belong to a copy that is quitting: handed over only when someone owns it.
    if (!bus.interface()->isServiceRegistered(m_appId).value())
        return false;
    QDBusMessage activate =
        QDBusMessage::createMethodCall(m_appId, objectPath(m_appId), ApplicationInterface, QStringLiteral("Activate"));
    activate << PlatformData();
    bus.call(activate, QDBus::Block, HandOverMs);
    return true;
}

bool SingleInstance::claimByLock()
{
    if (m_runtimeFolder.isEmpty())
        m_runtimeFolder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QDir().mkpath(m_runtimeFolder);
    const QDir folder(m_runtimeFolder);
    m_lock = std::make_unique<QLockFile>(folder.filePath(m_appId + QStringLiteral(".lock")));
    // Held for the whole run; only a dead owner makes it stale.
    m_lock->setStaleLockTime(0);
    const QString socketPath = folder.filePath(m_appId + QStringLiteral(".socket"));
    if (!m_lock->tryLock(0)) {
        // A folder we may not write guards nothing: the start goes on unguarded.
        return m_lock->error() != QLockFile::LockFailedError || !handOverBySocket();
    }

    QLocalServer::removeServer(socketPath); // left by a killed copy
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->listen(socketPath);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *peer = m_server->nextPendingConnection()) {
            // The line may be in before the connection is taken, and the sender gone.
            const auto readLine = [this, peer] {
                if (!peer->canReadLine())
                    return;
                const QByteArray line = peer->readLine().trimmed();
                if (line.startsWith("activate"))
                    emit showRequested(QString::fromUtf8(line.mid(8).trimmed()));
                peer->disconnectFromServer();
            };
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QLocalSocket::readyRead, this, readLine);
            readLine();
        }
    });
    return true;
}

bool SingleInstance::handOverBySocket()
{
    // The holder may still be starting: its socket comes right after the lock.
    const QString socketPath = QDir(m_runtimeFolder).filePath(m_appId + QStringLiteral(".socket"));
    const QDeadlineTimer deadline(HandOverMs);
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.write("activate " + StartupActivationToken().toUtf8() + '\n');
            socket.waitForBytesWritten(int(deadline.remainingTime()));
            return true;
        }
        if (deadline.hasExpired())
            return true; // a live holder that does not answer still holds the program
        QThread::msleep(20);
    }
}

} // namespace quorvane

#include "single_instance.moc"
