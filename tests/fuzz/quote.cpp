// A quote reply, whatever its bytes, goes the whole way to the panel's writes
// without failing unsafely: a short text changes nothing, a shown quote has
// the latest price and the four labels' colours, and the code can never
// leave the URL's path.
// Input: the code, a NUL byte, the reply's bytes.
#include "fuzz_support.h"

#include "quotes/http_fetch.h"
#include "quotes/quote.h"

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

    const std::optional<QString> reply = bytes2BSTR(parts[1]);
    if (!reply)
        return 0;
    const QString text = CutQuoteText(*reply);
    FUZZ_CHECK(text.size() <= reply->size());
    for (const bool setSellPrice : {true, false}) {
        const ShowQuoteOutcome outcome = ShowQuote(text, code, setSellPrice);
        const bool ignored = outcome.status == ShowQuoteOutcome::Status::Ignored;
        FUZZ_CHECK(ignored == (text.size() <= 20) && (!ignored || outcome.writes.isEmpty()));
        qsizetype colours = 0;
        bool latestShown = false;
        for (const PanelWrite &write : outcome.writes) {
            FUZZ_CHECK(!write.objectName.isEmpty());
            colours += write.kind == PanelWrite::Kind::Colour;
            latestShown = latestShown || write.objectName == QStringLiteral("Label55");
        }
        if (outcome.status == ShowQuoteOutcome::Status::Shown)
            FUZZ_CHECK(colours == 4 && latestShown);
    }
    return 0;
}
