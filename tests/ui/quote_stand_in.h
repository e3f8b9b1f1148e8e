#pragma once

// A stand-in for the quote and chart services on 127.0.0.1: replies by path,
// GBK quote lines in the service's form, and a log of the paths asked for.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringEncoder>
#include <QStringList>

#include <httplib.h>

#include <mutex>
#include <thread>

namespace quorvane::testing {

class QuoteStandIn
{
public:
    QuoteStandIn()
    {
        m_server.Get(".*", [this](const httplib::Request &request, httplib::Response &response) {
            const QString path = QString::fromStdString(request.path);
            std::lock_guard lock(m_mutex);
            m_requests.append(path);
            const auto reply = m_replies.constFind(path);
            if (reply == m_replies.cend()) {
                response.status = 404;
                response.set_content("no such page", "text/plain");
                return;
            }
            response.set_content(reply->constData(), size_t(reply->size()), "application/octet-stream");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running()) // stop() before the loop runs would be lost
            std::this_thread::yield();
    }
    ~QuoteStandIn()
    {
        m_server.stop();
        m_thread.join();
    }
    QuoteStandIn(const QuoteStandIn &) = delete;
    QuoteStandIn &operator=(const QuoteStandIn &) = delete;

    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

    // The reply to /list=<prefix><code>: var hq_str_<prefix><code>="<fields>";
    void setQuote(const QString &code, const QString &fields)
    {
        const QString prefix = (code.startsWith(u'0') || code.startsWith(u'3')) ? QStringLiteral("sz")
                                                                                : QStringLiteral("sh");
        const QString line = QStringLiteral("var hq_str_%1%2=\"%3\";\n").arg(prefix, code, fields);
        setReply(QStringLiteral("/list=") + prefix + code, QStringEncoder("GBK").encode(line));
    }
    // A quote with today's prices: name, open, previous close, latest, high, low.
    void setQuote(const QString &code, const QString &name, const QString &previous, const QString &latest)
    {
        setQuote(code, QStringLiteral("%1,%2,%2,%3,%4,%5,%3,%3,100,1000,2026-12-04,15:00:00,00")
                           .arg(name, previous, latest, latest, previous));
    }
    void setReply(const QString &path, const QByteArray &body)
    {
        std::lock_guard lock(m_mutex);
        m_replies.insert(path, body);
    }
    void removeReply(const QString &path)
    {
        std::lock_guard lock(m_mutex);
        m_replies.remove(path);
    }

    QStringList requests() const
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }
    void clearRequests()
    {
        std::lock_guard lock(m_mutex);
        m_requests.clear();
    }

private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    QHash<QString, QByteArray> m_replies;
    QStringList m_requests;
};

} // namespace quorvane::testing
