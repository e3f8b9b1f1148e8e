#include "quotes/http_fetch.h"

#include <QLibrary>
#include <QStringDecoder>

#include <curl/curl.h>

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <memory>

namespace quorvane {

namespace {

// One character for every pair a byte from 0x80 can open: index
// (lead - 0x80) * 256 + second byte.
using PairTable = std::array<char16_t, 128 * 256>;

// GBK pairs: a lead byte from 0x81 to 0xFE and a second byte from 0x40 to
// 0xFE other than 0x7F. Every other pair is no character.
bool isSecondByte(int byte)
{
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// What the decoder makes of one pair alone: a letter after it flushes whatever
// the decoder holds back, so only a real two-byte character comes out as one.
char16_t decodeOnePair(QStringDecoder &decoder, int lead, int second)
{
    const char bytes[3] = {static_cast<char>(lead), static_cast<char>(second), 'x'};
    const QString text = decoder(QByteArrayView(bytes, 3));
    return text.size() == 2 && text[1] == u'x' ? text[0].unicode() : char16_t(0xFFFD);
}

PairTable buildPairTable()
{
    PairTable table;
    table.fill(char16_t(0xFFFD));
    QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
    // A whole row of pairs at once; pair by pair only where the row does not
    // come out as one character a pair.
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        QByteArray row;
        for (int second = 0x40; second <= 0xFE; ++second) {
            if (isSecondByte(second))
                row.append(static_cast<char>(lead)).append(static_cast<char>(second));
        }
        const QString text = decoder(row);
        const bool aligned = text.size() == row.size() / 2;
        qsizetype at = 0;
        for (int second = 0x40; second <= 0xFE; ++second) {
            if (isSecondByte(second)) {
                table[(lead - 0x80) * 256 + second] =
                    aligned ? text[at++].unicode() : decodeOnePair(decoder, lead, second);
            }
        }
    }
    return table;
}

const PairTable &pairTable()
{
    static const PairTable table = buildPairTable();
    return table;
}

// libcurl and the two dozen libraries it brings load with the first request,
// not at start-up, where they would add a sixth to the time the window takes
// to appear.
struct CurlApi
{
    decltype(&curl_global_init) global_init = nullptr;
    decltype(&curl_easy_init) easy_init = nullptr;
    decltype(&curl_easy_setopt) easy_setopt = nullptr;
    decltype(&curl_easy_perform) easy_perform = nullptr;
    decltype(&curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&curl_slist_append) slist_append = nullptr;
    decltype(&curl_slist_free_all) slist_free_all = nullptr;
    bool usable = false;
};

template<typename Function>
bool resolve(QLibrary &library, const char *symbol, Function &function)
{
    function = reinterpret_cast<Function>(library.resolve(symbol));
    return function != nullptr;
}

CurlApi loadCurl()
{
    CurlApi api;
    QLibrary library(QStringLiteral("curl"), 4);
    if (!library.load())
        return api;
    const bool resolved = resolve(library, "curl_global_init", api.global_init)
                          && resolve(library, "curl_easy_init", api.easy_init)
                          && resolve(library, "curl_easy_setopt", api.easy_setopt)
                          && resolve(library, "curl_easy_perform", api.easy_perform)
                          && resolve(library, "curl_easy_cleanup", api.easy_cleanup)
                          && resolve(library, "curl_easy_getinfo", api.easy_getinfo)
                          && resolve(library, "curl_slist_append", api.slist_append)
                          && resolve(library, "curl_slist_free_all", api.slist_free_all);
    api.usable = resolved && api.global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return api; // the library stays loaded for the rest of the run
}

// Loaded once, even when requests come from several threads.
const CurlApi &curl()
{
    static const CurlApi api = loadCurl();
    return api;
}

struct BodySink
{
    QByteArray bytes;
    qint64 limit = 0;
};

size_t appendBody(char *data, size_t size, size_t count, void *userData)
{
    auto *sink = static_cast<BodySink *>(userData);
    const size_t length = size * count;
    if (sink->bytes.size() + static_cast<qint64>(length) > sink->limit)
        return 0; // ends the transfer with CURLE_WRITE_ERROR
    sink->bytes.append(data, static_cast<qsizetype>(length));
    return length;
}

// A cancelled fetch stops at the next progress call, also before it has a socket.
int checkCancel(void *userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const FetchCancel *>(userData)->isCancelled() ? 1 : 0;
}

// The fetch opens and closes its sockets itself, so that a cancel from another
// thread can shut the one in use, and never a number reused since.
curl_socket_t openSocket(void *userData, curlsocktype, curl_sockaddr *address)
{
    const int socket = ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
    if (socket < 0)
        return CURL_SOCKET_BAD;
    if (!static_cast<FetchCancel *>(userData)->addSocket(socket)) {
        ::close(socket);
        return CURL_SOCKET_BAD;
    }
    return socket;
}

int closeSocket(void *userData, curl_socket_t socket)
{
    static_cast<FetchCancel *>(userData)->removeSocket(socket);
    return ::close(socket);
}

struct CurlDeleter
{
    void operator()(CURL *handle) const { curl().easy_cleanup(handle); }
};
struct SlistDeleter
{
    void operator()(curl_slist *list) const { curl().slist_free_all(list); }
};

} // namespace

std::optional<QString> bytes2BSTR(QByteArrayView bytes)
{
    const PairTable &table = pairTable();
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    char16_t *const begin = out;
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = in + bytes.size();
    while (in < end) {
        const unsigned char b = *in;
        if (b < 0x80) {
            *out++ = b;
            ++in;
            continue;
        }
        if (in + 1 == end)
            return std::nullopt; // a lead byte without its second byte
        *out++ = table[(b - 0x80) * 256 + in[1]];
        in += 2;
    }
    text.truncate(out - begin);
    return text;
}

QString DecodeGbkText(QByteArrayView bytes)
{
    if (!bytes.isEmpty() && static_cast<unsigned char>(bytes.back()) >= 0x80) {
        if (std::optional<QString> text = bytes2BSTR(bytes))
            return *std::move(text);
        return *bytes2BSTR(bytes.chopped(1)) + QChar(QChar::ReplacementCharacter);
    }
    return bytes2BSTR(bytes).value_or(QString());
}

void FetchCancel::cancel()
{
    std::lock_guard lock(m_mutex);
    m_cancelled = true;
    for (const int socket : m_sockets)
        ::shutdown(socket, SHUT_RDWR); // the transfer's wait ends at once
}

bool FetchCancel::addSocket(int socket)
{
    std::lock_guard lock(m_mutex);
    if (m_cancelled)
        return false;
    m_sockets.push_back(socket);
    return true;
}

void FetchCancel::removeSocket(int socket)
{
    std::lock_guard lock(m_mutex);
    m_sockets.erase(std::remove(m_sockets.begin(), m_sockets.end(), socket), m_sockets.end());
}

std::optional<QString> DecodeReplyText(QByteArrayView body, QByteArrayView contentType)
{
    QByteArray charset;
    const QByteArray type = contentType.toByteArray().toLower();
    const qsizetype at = type.indexOf("charset=");
    if (at >= 0) {
        charset = type.mid(at + 8);
        if (const qsizetype end = charset.indexOf(';'); end >= 0)
            charset.truncate(end);
        charset = charset.trimmed();
        if (charset.size() >= 2 && charset.startsWith('"') && charset.endsWith('"'))
            charset = charset.mid(1, charset.size() - 2);
    }
    if (charset == "utf-8" || charset == "utf8")
        return QString::fromUtf8(body);
    if (charset == "gb18030") {
        QStringDecoder decoder("GB18030");
        return decoder(body);
    }
    return bytes2BSTR(body);
}

std::optional<QByteArray> HttpFetch::fetchBytes(const QString &url) const
{
    std::optional<HttpReply> reply = get(url);
    if (!reply)
        return std::nullopt;
    return std::move(reply->body);
}

std::optional<HttpReply> HttpFetch::get(const QString &url) const
{
    const CurlApi &api = curl();
    if (!api.usable)
        return std::nullopt;
    std::unique_ptr<CURL, CurlDeleter> handle(api.easy_init());
    if (!handle)
        return std::nullopt;

    std::unique_ptr<curl_slist, SlistDeleter> headers(
        api.slist_append(nullptr, "Content-Type: text/XML"));
    if (!headers)
        return std::nullopt;

    BodySink sink;
    sink.limit = m_options.maxBodyBytes;
    const QByteArray urlBytes = url.toUtf8();
    QString referer = m_options.referer;
    referer.remove(u'\r').remove(u'\n'); // a header value is one line
    const QByteArray refererBytes = referer.toUtf8();

    CURL *h = handle.get();
    const auto setopt = api.easy_setopt;
    setopt(h, CURLOPT_URL, urlBytes.constData());
    setopt(h, CURLOPT_HTTPGET, 1L);
    setopt(h, CURLOPT_HTTPHEADER, headers.get());
    if (!refererBytes.isEmpty())
        setopt(h, CURLOPT_REFERER, refererBytes.constData());
    // Plain web addresses only, also after a redirect.
    setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    setopt(h, CURLOPT_MAXREDIRS, static_cast<long>(m_options.maxRedirects));
    setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_options.connectTimeoutMs));
    setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(m_options.totalTimeoutMs));
    setopt(h, CURLOPT_NOSIGNAL, 1L);
    setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(m_options.maxBodyBytes));
    setopt(h, CURLOPT_WRITEFUNCTION, appendBody);
    setopt(h, CURLOPT_WRITEDATA, &sink);
    if (FetchCancel *cancel = m_options.cancel.get()) {
        if (cancel->isCancelled())
            return std::nullopt;
        setopt(h, CURLOPT_NOPROGRESS, 0L);
        setopt(h, CURLOPT_XFERINFOFUNCTION, checkCancel);
        setopt(h, CURLOPT_XFERINFODATA, cancel);
        setopt(h, CURLOPT_OPENSOCKETFUNCTION, openSocket);
        setopt(h, CURLOPT_OPENSOCKETDATA, cancel);
        setopt(h, CURLOPT_CLOSESOCKETFUNCTION, closeSocket);
        setopt(h, CURLOPT_CLOSESOCKETDATA, cancel);
    }

    if (api.easy_perform(h) != CURLE_OK)
        return std::nullopt;
    HttpReply reply;
    api.easy_getinfo(h, CURLINFO_RESPONSE_CODE, &reply.status);
    const char *contentType = nullptr;
    if (api.easy_getinfo(h, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK && contentType)
        reply.contentType = contentType;
    reply.body = std::move(sink.bytes);
    return reply;
}

std::optional<QString> HttpFetch::viewSource(const QString &url) const
{
    const std::optional<QByteArray> body = fetchBytes(url);
    if (!body)
        return std::nullopt;
    return bytes2BSTR(*body);
}

} // namespace quorvane
