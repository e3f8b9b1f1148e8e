// A quote reply, whatever its bytes, goes the whole way to the panel's writes
// without failing unsafely: a short text changes nothing, a shown quote has
// the latest price and the four labels' colours, and the code can never
// leave the URL's path. On the way, decoded text is never longer than its
// bytes, the strict and the lenient decoders agree wherever the strict one
// succeeds, and bytes below 0x80 are their own characters.
// Input: the code, a NUL byte, the reply's bytes.
#include "fuzz_support.h"

#include "quotes/http_fetch.h"
#include "quotes/quote.h"

#include <algorithm>

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QList<QByteArray> parts = FuzzParts(data, size, 2);
    const QString code = QString::fromUtf8(parts[0]);

    const QString encoded = EncodePathText(code);
    for (QChar c : encoded)
        FUZZ_CHECK((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'%');
    FUZZ_CHECK(QuoteUrl(QStringLiteral("hq.example"), code)
               == QStringLiteral("http://hq.example/list=") + MarketPrefix(code) + encoded);

    const QByteArray &bytes = parts[1];
    const QString lenient = DecodeGbkText(bytes);
    const std::optional<QString> reply = bytes2BSTR(bytes);
    // Only a last lead byte without its pair makes the strict decoder fail.
    qsizetype at = 0;
    while (at < bytes.size())
        at += static_cast<unsigned char>(bytes[at]) < 0x80 ? 1 : 2;
    FUZZ_CHECK(lenient.size() <= bytes.size() && reply.has_value() == (at == bytes.size()));
    FUZZ_CHECK(!reply || *reply == lenient);
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        FUZZ_CHECK(lenient == QString::fromLatin1(bytes));
    if (!reply)
        return 0;
    const QString text = CutQuoteText(*reply);
    FUZZ_CHECK(text.size() <= reply->size());
    for (const bool setSellPrice : {true, false}) {
        const ShowQuoteOutcome outcome = ShowQuote(text, code, setSellPrice);
        const bool ignored = outcome.status == ShowQuoteOutcome::Status::Ignored;
        FUZZ_CHECK(ignored == (text.size() <= 20) && (!ignored || outcome.writes.isEmpty()));
        qsizetype colours = 0, latest = 0;
        for (const PanelWrite &write : outcome.writes) {
            FUZZ_CHECK(!write.objectName.isEmpty());
            colours += write.kind == PanelWrite::Kind::Colour;
            latest += write.objectName == QStringLiteral("Label55");
        }
        FUZZ_CHECK(outcome.status != ShowQuoteOutcome::Status::Shown || (colours == 4 && latest > 0));
    }
    return 0;
}
