#pragma once

// A stand-in for both quote services and the chart service on 127.0.0.1:
// replies by path, GBK quote lines in each service's form, and a log of the
// paths asked for. A path it has no reply for gets 404.

#include "fake_platform.h"

#include <QHash>

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <utility>

namespace quorvane::testing {

class QuoteStandIn
{
public:
    QuoteStandIn()
    {
        m_server.Get(".*", [this](const httplib::Request &request, httplib::Response &response) {
            const QString path = QString::fromStdString(request.path);
            std::unique_lock lock(m_mutex);
            m_requests.append(path);
            lock.unlock();
            while (m_stalled && !m_stopping) // accepted, not answered
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            lock.lock();
            if (path.contains(u',')) { // a batch: each code's line; unknown ones empty
                const QString form = path.section(u'=', 0, 0) + u'=';
                QByteArray body;
                for (const QString &symbol : path.section(u'=', 1).split(u','))
                    body += m_replies.value(form + symbol,
                                            form == u"/q=" ? QByteArray("v_pv_none_match=\"1\";\n")
                                                           : "var hq_str_" + symbol.toLatin1() + "=\"\";\n");
                response.set_content(body.constData(), size_t(body.size()), "application/octet-stream");
            } else if (const auto reply = m_replies.constFind(path); reply != m_replies.cend())
                response.set_content(reply->constData(), size_t(reply->size()), "application/octet-stream");
            else
                response.status = 404;
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running()) // stop() before the loop runs would be lost
            std::this_thread::yield();
    }
    ~QuoteStandIn()
    {
        m_stopping = true;
        m_server.stop();
        m_thread.join();
    }

    // While stalled, requests are taken and left without a reply.
    void setStalled(bool stalled) { m_stalled = stalled; }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    // setup.ini naming the stand-in for every service, with the monitoring keys given.
    void configure(const QString &iniPath, const QString &monitoring = {}) const
    {
        WriteGbk(iniPath,
                 QStringLiteral("[network]\r\nQuoteHost=%1\r\nQuoteHost2=%1\r\nChartHost=%1\r\n[monitoring]\r\n%2")
                     .arg(host(), monitoring));
    }

    // The reply to /list=<prefix><code>: var hq_str_<prefix><code>="<fields>";
    // and to /q=<prefix><code> the same quote in the second service's form.
    void setQuote(const QString &code, const QString &fields)
    {
        const bool shenzhen = code.startsWith(u'0') || code.startsWith(u'3');
        const QString symbol = QLatin1String(code.startsWith(u"92") ? "bj" : shenzhen ? "sz" : "sh") + code;
        QStringEncoder gbk("GBK");
        setReply("/list=" + symbol, gbk.encode(QStringLiteral("var hq_str_%1=\"%2\";\n").arg(symbol, fields)));
        const QStringList f = fields.split(u',');
        // 35 fields: name, code, latest, previous, open, …, the time at 30, high and low at 33 and 34.
        const QStringList q = QStringList{"1", f.value(0), code, f.value(3), f.value(2), f.value(1)}
                              + QStringList(24, QStringLiteral("0"))
                              + QStringList{"20261204150000", "0", "0", f.value(4), f.value(5)};
        setReply("/q=" + symbol, gbk.encode(QStringLiteral("v_%1=\"%2\";\n").arg(symbol, q.join(u'~'))));
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
    // The paths asked for since the last call.
    QStringList takeRequests()
    {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_requests, {});
    }

private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    std::mutex m_mutex;
    QHash<QString, QByteArray> m_replies;
    QStringList m_requests;
    std::atomic<bool> m_stalled{false}, m_stopping{false};
};

// tiny.gif is 8×8 red, tiny2.gif 6×4 blue.
inline QByteArray TestGif(const char *name)
{
    QFile file(QStringLiteral(QUORVANE_SOURCE_DIR "/tests/ui/data/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace quorvane::testing
