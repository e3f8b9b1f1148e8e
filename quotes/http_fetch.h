#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <utility>

namespace quorvane {

// Decodes a reply body byte by byte: a byte below 0x80 is that character; any
// other byte opens a GBK pair with the byte after it (an invalid pair gives
// U+FFFD). A body ending in an unpaired lead byte cannot be decoded.
std::optional<QString> bytes2BSTR(QByteArrayView bytes);

// The same decoding for files: a last lead byte without its pair gives U+FFFD
// instead of failing.
QString DecodeGbkText(QByteArrayView bytes);

struct FetchOptions
{
    QString referer; // sent as the Referer header when not empty
    int connectTimeoutMs = 3000;
    int totalTimeoutMs = 8000;             // the whole request, redirects included
    qint64 maxBodyBytes = 2 * 1024 * 1024; // a longer body fails the fetch
    int maxRedirects = 3;
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

private:
    FetchOptions m_options;
};

} // namespace quorvane
