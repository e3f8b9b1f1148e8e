#pragma once

#include <QDBusConnection>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace quorvane {

// One running copy per user and session. The first start owns the desktop id
// on the session bus (as GApplication and KDBusService do) and answers
// org.freedesktop.Application.Activate; a later start calls it and ends.
// Without a session bus a lock file and a local socket in the user's runtime
// folder play the same part; a lock left by a killed copy is taken over.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { First, HandedOver };

    // runtimeFolder: where the lock and socket go; empty for the user's runtime folder.
    SingleInstance(const QString &appId, const QString &runtimeFolder = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Claims the program for this process, or hands the start over to the
    // copy that holds it. A disconnected bus takes the lock-file way.
    Outcome claim(const QDBusConnection &bus);

    // The object path of the desktop id: /org/quorvane/Quorvane.
    static QString objectPath(const QString &appId);

signals:
    // A later start asked this copy to show its window; activationToken lets
    // the desktop move the focus (may be empty).
    void showRequested(const QString &activationToken);

private:
    bool claimOnBus(QDBusConnection bus);
    bool handOverOnBus(const QDBusConnection &bus);
    bool claimByLock();
    bool handOverBySocket();

    QString m_appId;
    QString m_runtimeFolder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};

// The token a launcher gave this start for moving the focus to a window.
QString StartupActivationToken();

} // namespace quorvane
