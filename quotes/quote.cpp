#include "quotes/quote.h"

#include "quotes/http_fetch.h"

#include <QRegularExpression>

#include <array>
#include <cmath>

namespace quorvane {

namespace {

enum class Market { Shanghai, Shenzhen, Beijing };

// The one market rule: Beijing's codes all begin with 92 (since 9 October
// 2025); 900xxx stays Shanghai's B shares.
Market MarketOf(const QString &code)
{
    if (code.startsWith(u"92"))
        return Market::Beijing;
    if (code.startsWith(u'0') || code.startsWith(u'3'))
        return Market::Shenzhen;
    return Market::Shanghai;
}

struct LadderRow
{
    const char *objectName;
    double factor;
    const char16_t *tag;
};

constexpr std::array<LadderRow, 10> LadderRows = {{
    {"Label64", 1.1, u" 10% "},
    {"Label63", 1.08, u" 8%  "},
    {"Label62", 1.06, u" 6%  "},
    {"Label61", 1.04, u" 4%  "},
    {"Label60", 1.02, u" 2%  "},
    {"Label69", 0.98, u"-2%  "},
    {"Label68", 0.96, u"-4%  "},
    {"Label67", 0.94, u"-6%  "},
    {"Label66", 0.92, u"-8%  "},
    {"Label65", 0.9, u"-10% "},
}};

PanelWrite textWrite(const QString &objectName, const QString &text)
{
    PanelWrite write;
    write.kind = PanelWrite::Kind::Text;
    write.objectName = objectName;
    write.text = text;
    return write;
}

PanelWrite colourWrite(const QString &objectName, QuoteColour colour)
{
    PanelWrite write;
    write.kind = PanelWrite::Kind::Colour;
    write.objectName = objectName;
    write.colour = colour;
    return write;
}

} // namespace

QStringView TrimSpaces(QStringView text)
{
    while (!text.isEmpty() && text.front() == u' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    return text;
}

bool IsStockCode(const QString &code)
{
    return code.size() == 6 && IsNumberText(code);
}

QString MarketPrefix(const QString &code)
{
    switch (MarketOf(code)) {
    case Market::Beijing:
        return QStringLiteral("bj");
    case Market::Shenzhen:
        return QStringLiteral("sz");
    case Market::Shanghai:
        break;
    }
    return QStringLiteral("sh");
}

QString ExchangeName(const QString &code)
{
    switch (MarketOf(code)) {
    case Market::Beijing:
        return QStringLiteral("北京交易所");
    case Market::Shenzhen:
        return QStringLiteral("深圳交易所");
    case Market::Shanghai:
        break;
    }
    return QStringLiteral("上海交易所");
}

QString EncodePathText(const QString &text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    QString encoded;
    for (const char byte : text.toUtf8()) {
        const auto b = static_cast<unsigned char>(byte);
        if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) {
            encoded += QChar(b);
        } else {
            encoded += u'%';
            encoded += QChar(hex[b >> 4]);
            encoded += QChar(hex[b & 0x0F]);
        }
    }
    return encoded;
}

QString QuoteUrl(const QString &quoteHost, const QString &code)
{
    return QStringLiteral("http://") + quoteHost + QStringLiteral("/list=") + MarketPrefix(code)
        + EncodePathText(code);
}

QString CutQuoteText(const QString &reply)
{
    const qsizetype quote = reply.indexOf(u'"');
    QString text = quote < 0 ? reply : reply.mid(quote + 1);
    text.remove(QStringLiteral("\";"));
    return text;
}

std::optional<QString> LookUpQuote(const HttpFetch &fetch, const QString &quoteHost, const QString &code)
{
    const std::optional<QString> reply = fetch.viewSource(QuoteUrl(quoteHost, code));
    if (!reply)
        return std::nullopt;
    return CutQuoteText(*reply);
}

QString QuotePath(QuoteFormat format, const QStringList &codes)
{
    QStringList symbols;
    for (const QString &code : codes)
        symbols.append(MarketPrefix(code) + EncodePathText(code));
    return (format == QuoteFormat::List ? QStringLiteral("/list=") : QStringLiteral("/q=")) + symbols.join(u',');
}

QString QuoteTextFromQFields(const QString &value)
{
    if (value.isEmpty())
        return {};
    const QStringList fields = value.split(u'~');
    const auto field = [&fields](qsizetype index) { return fields.value(index); };
    return QStringList{field(1), field(5), field(4), field(3), field(33), field(34)}.join(u',');
}

std::optional<QHash<QString, QString>> QuoteTextsOfReply(QuoteFormat format, const QString &reply)
{
    // One quote a line; a line's end stays with a List quote, as in a single reply.
    static const QRegularExpression listLine(QStringLiteral(R"re(^\s*var hq_str_(?:sh|sz|bj)?(\w*)="[^"]*";)re"));
    static const QRegularExpression qLine(QStringLiteral(R"re(^\s*v_(?:sh|sz|bj)?(\w*)="([^"]*)";)re"));
    QHash<QString, QString> texts;
    bool shaped = false;
    qsizetype start = 0;
    while (start < reply.size()) {
        qsizetype end = reply.indexOf(u'\n', start);
        end = end < 0 ? reply.size() : end + 1;
        const QString line = reply.mid(start, end - start);
        start = end;
        if (format == QuoteFormat::List) {
            const QRegularExpressionMatch match = listLine.match(line);
            if (!match.hasMatch())
                continue;
            shaped = true;
            texts.insert(match.captured(1), CutQuoteText(line));
        } else {
            const QRegularExpressionMatch match = qLine.match(line);
            if (!match.hasMatch())
                continue;
            shaped = true;
            if (match.captured(1) != u"pv_none_match") // an unknown code: an answer with no quote
                texts.insert(match.captured(1), QuoteTextFromQFields(match.captured(2)));
        }
    }
    if (!shaped)
        return std::nullopt;
    return texts;
}

std::optional<QHash<QString, QString>> QuoteFailover::lookUp(const QList<QuoteService> &services,
                                                             const QStringList &codes, const FetchOptions &options)
{
    const int first = m_first.load();
    // The preferred service, then each other one once.
    QList<int> order{first};
    for (int i = 0; i < services.size(); ++i) {
        if (i != first)
            order.append(i);
    }
    for (const int i : order) {
        if (i >= services.size() || services[i].host.trimmed().isEmpty())
            continue;
        const QuoteService &service = services[i];
        FetchOptions serviceOptions = options;
        serviceOptions.referer = service.referer;
        const std::optional<HttpReply> reply =
            HttpFetch(serviceOptions).get(QStringLiteral("http://") + service.host.trimmed() + QuotePath(service.format, codes));
        if (!reply || reply->status != 200)
            continue;
        const std::optional<QString> text = DecodeReplyText(reply->body, reply->contentType);
        if (!text)
            continue;
        std::optional<QHash<QString, QString>> texts = QuoteTextsOfReply(service.format, *text);
        if (!texts)
            continue;
        m_first = i;
        for (const QString &code : codes)
            texts->insert(code, texts->value(code)); // a code the reply left out has the empty quote
        return texts;
    }
    return std::nullopt;
}

std::optional<QString> QuoteFailover::lookUp(const QList<QuoteService> &services, const QString &code,
                                             const FetchOptions &options)
{
    const std::optional<QHash<QString, QString>> texts = lookUp(services, QStringList{code}, options);
    if (!texts)
        return std::nullopt;
    return texts->value(code);
}

std::optional<Rgb> QuoteColourRgb(QuoteColour colour)
{
    switch (colour) {
    case QuoteColour::Rise:
        return Rgb{255, 0, 0};
    case QuoteColour::Fall:
        return Rgb{0, 192, 0};
    case QuoteColour::WindowText:
        break;
    }
    return std::nullopt;
}

QList<PanelWrite> ShowPriceLadder(Money base)
{
    QList<PanelWrite> writes;
    if (base.isZero())
        return writes;
    const double previous = MoneyToDouble(base);
    for (const LadderRow &row : LadderRows) {
        // The price becomes Money before it is shown: 0.95 × 1.1 shows as
        // ￥1.05, the exchange's own limit, not as the double's 1.0449999.
        try {
            const Money price = MoneyFromDouble(previous * row.factor);
            writes.append(textWrite(QLatin1StringView(row.objectName), QString::fromUtf16(row.tag) + FormatMoney(price)));
        } catch (const OutOfRangeError &) {
            // A close near the end of Money's range: that row keeps its caption.
        }
    }
    return writes;
}

QList<PanelWrite> ShowCodeOnly(const QString &code)
{
    QList<PanelWrite> writes{textWrite(QStringLiteral("Label52"), {}),
                             textWrite(QStringLiteral("Label53"), ExchangeName(code)),
                             textWrite(QStringLiteral("Label54"), code), textWrite(QStringLiteral("Label55"), {})};
    for (const LadderRow &row : LadderRows)
        writes.append(textWrite(QLatin1StringView(row.objectName), {}));
    for (const char *label : {"Label52", "Label53", "Label54", "Label55"})
        writes.append(colourWrite(QLatin1StringView(label), QuoteColour::WindowText));
    return writes;
}

ShowQuoteOutcome ShowQuote(const QString &quoteText, const QString &code, bool setSellPrice)
{
    ShowQuoteOutcome outcome;
    if (quoteText.size() <= 20)
        return outcome;

    QList<PanelWrite> &writes = outcome.writes;
    auto failed = [&outcome] {
        outcome.status = ShowQuoteOutcome::Status::Failed;
        return outcome;
    };
    const QuoteRecord record = QuoteRecord::fromText(quoteText);
    writes.append(textWrite(QStringLiteral("Label52"), record.name()));
    writes.append(textWrite(QStringLiteral("Label53"), ExchangeName(code)));
    writes.append(textWrite(QStringLiteral("Label54"), code));
    if (record.fields.size() < 4)
        return failed();
    const QString latestText = record.latestPrice();
    writes.append(textWrite(QStringLiteral("Label55"), latestText));

    const std::optional<Money> latest = MoneyIfNumber(latestText);
    if (setSellPrice) {
        if (!latest)
            return failed();
        writes.append(textWrite(QStringLiteral("sell_Price"), FormatMoney(*latest)));
    }
    const std::optional<Money> previous = MoneyIfNumber(record.previousClose());
    if (!previous)
        return failed();
    writes.append(ShowPriceLadder(*previous));
    if (!latest)
        return failed();

    const QString valueLabels[] = {QStringLiteral("Label52"), QStringLiteral("Label53"),
                                   QStringLiteral("Label54"), QStringLiteral("Label55")};
    if (*latest == *previous) {
        for (const QString &label : valueLabels)
            writes.append(colourWrite(label, QuoteColour::WindowText));
    } else {
        const bool rise = *latest > *previous;
        for (const QString &label : valueLabels)
            writes.append(colourWrite(label, rise ? QuoteColour::Rise : QuoteColour::Fall));
        const std::optional<double> latestNumber = NumberIfNumber(latestText);
        const std::optional<double> previousNumber = NumberIfNumber(record.previousClose());
        if (!latestNumber || !previousNumber || *previousNumber == 0.0)
            return failed(); // the change has no percentage
        // Rounded once, straight from the double: 1.13 → 1.14 is 0.88496…%, shown 0.88.
        const double percent = (*latestNumber - *previousNumber) / *previousNumber * 100.0;
        if (!std::isfinite(percent))
            return failed();
        writes.append(textWrite(QStringLiteral("Label55"),
                                latestText + QStringLiteral(" (") + FormatFigure(percent)
                                    + QStringLiteral("%)") + (rise ? QStringLiteral(" ↑") : QStringLiteral(" ↓"))));
    }
    if (latest->isZero())
        writes.append(textWrite(QStringLiteral("Label55"), QStringLiteral("等待开盘")));

    outcome.status = ShowQuoteOutcome::Status::Shown;
    return outcome;
}

} // namespace quorvane
