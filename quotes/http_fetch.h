#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace quorvane {

// Decodes a reply body byte by byte: a byte below 0x80 is that character; any
// other byte opens a GBK pair with the byte after it (an invalid pair gives
// U+FFFD). A body ending in an unpaired lead byte cannot be decoded.
std::optional<QString> bytes2BSTR(QByteArrayView bytes);

// The same decoding for files: a last lead byte without its pair gives U+FFFD
// instead of failing.
QString DecodeGbkText(QByteArrayView bytes);

// The charset a Content-Type names when it is one the services use (GBK,
// GB2312, GB18030, UTF-8), GBK when it names none or another: the reply's text.
// No text when a GBK body ends in an unpaired lead byte.
std::optional<QString> DecodeReplyText(QByteArrayView body, QByteArrayView contentType);

// Ends the transfers of the fetches that carry it, at once, from any thread:
// their sockets are shut, and a fetch started afterwards fails at the start.
class FetchCancel
{
public:
    void cancel();
    bool isCancelled() const { return m_cancelled.load(); }

    // The fetch's own bookkeeping of the sockets it opens and closes.
    bool addSocket(int socket);
    void removeSocket(int socket);

private:
    std::atomic<bool> m_cancelled{false};
    std::mutex m_mutex;
    std::vector<int> m_sockets;
};

struct FetchOptions
{
    QString referer; // sent as the Referer header when not empty
    int connectTimeoutMs = 3000;
    int totalTimeoutMs = 8000;             // the whole request, redirects included
    qint64 maxBodyBytes = 2 * 1024 * 1024; // a longer body fails the fetch
    int maxRedirects = 3;
    std::shared_ptr<FetchCancel> cancel = {}; // none: the fetch runs to its limits
};

struct HttpReply
{
    long status = 0;
    QByteArray contentType;
    QByteArray body;
};

// The one blocking GET. The status is not examined: an error page's body comes
// back like any other. No text when the request fails or the body cannot be
// decoded.
class HttpFetch
{
public:
    explicit HttpFetch(FetchOptions options = {}) : m_options(std::move(options)) {}
    std::optional<QString> viewSource(const QString &url) const;
    // The same GET, the body undecoded (chart pictures).
    std::optional<QByteArray> fetchBytes(const QString &url) const;
    // The same GET with the status and the Content-Type.
    std::optional<HttpReply> get(const QString &url) const;

private:
    FetchOptions m_options;
};

} // namespace quorvane
