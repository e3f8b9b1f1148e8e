#pragma once

#include "calc/money.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>

// A quote travels: code → QuoteUrl → HttpFetch::viewSource → CutQuoteText
// (LookUpQuote does these three) → ShowQuote, which decides what the stock
// panel, the price ladder and the sell-price box show. The window applies the
// writes in order and owns the network-error rule:
//
//     const auto text = LookUpQuote(fetch, network.QuoteHost, code);
//     const ShowQuoteOutcome outcome = text ? ShowQuote(*text, code, true) : ShowQuoteOutcome{};
//     for (const PanelWrite &w : outcome.writes)
//         apply(w); // setText / setStyleSheet on findChild(w.objectName)
//     if (!text || outcome.failed())
//         reportNetworkError(); // once per run

namespace quorvane {

class HttpFetch;
struct FetchOptions;

// Six characters that read as a number (IsNumberText): the codes the program
// looks up.
bool IsStockCode(const QString &code);

// The text without the spaces around it; other blanks stay, as in every
// trim of the code box and the panel's code.
QStringView TrimSpaces(QStringView text);

// "bj" when the code begins with "92", "sz" when its first character is '0'
// or '3', "sh" for any other.
QString MarketPrefix(const QString &code);
// "北京交易所", "深圳交易所" or "上海交易所" by the same rule.
QString ExchangeName(const QString &code);

// Every character outside [0-9A-Za-z] as %XX of its UTF-8 bytes, so a code
// text can neither break a request line nor reach another path.
QString EncodePathText(const QString &text);

// "http://" + host + "/list=" + MarketPrefix(code) + the encoded code. The host
// may carry a port ("127.0.0.1:18080").
QString QuoteUrl(const QString &quoteHost, const QString &code);

// The reply after its first double quote (all of it when it has none), with
// every `";` removed.
QString CutQuoteText(const QString &reply);

// Request and cut. No value when the fetch fails.
std::optional<QString> LookUpQuote(const HttpFetch &fetch, const QString &quoteHost, const QString &code);

// The two public quote services the program knows, by the form of their
// requests and replies:
//   List: GET /list=sh600000,sz000001 → var hq_str_sh600000="浦发银行,10.45,10.40,…";
//   Q:    GET /q=sh600000,sz000001    → v_sh600000="1~浦发银行~600000~10.50~10.40~…";
enum class QuoteFormat { List, Q };

struct QuoteService
{
    QuoteFormat format = QuoteFormat::List;
    QString host;    // may carry a port; empty: no such service
    QString referer; // sent when not empty
};

// The path asking one service for the codes, in one request: "/list=" or "/q="
// followed by MarketPrefix and the encoded code of each, joined by ",".
QString QuotePath(QuoteFormat format, const QStringList &codes);

// A Q reply's value ("1~name~code~latest~previous~open~…", date-time at 30,
// high at 33, low at 34) as the QuoteText the List service gives for it:
// "name,open,previous,latest,high,low". The empty value stays empty.
QString QuoteTextFromQFields(const QString &value);

// The QuoteText of each code a reply holds (keyed by the six-character code),
// cut as a List reply is cut, or converted from Q's fields. A code the service
// does not know gets an empty text, or no entry. No value for a reply that has
// not the service's form at all: an error or refusal page.
std::optional<QHash<QString, QString>> QuoteTextsOfReply(QuoteFormat format, const QString &reply);

// Asks the service that answered last (the first one at the start of a run);
// when it fails, asks the other, once. A failure is no connection, a time-out,
// a status other than 200, an undecodable body, or a reply without the
// service's form. The one that answers serves first from then on, on every
// thread, so a stalled service costs its time-out once.
class QuoteFailover
{
public:
    // The QuoteText of each code asked for (empty for one the service does not
    // know); no value when every service failed.
    std::optional<QHash<QString, QString>> lookUp(const QList<QuoteService> &services, const QStringList &codes,
                                                 const FetchOptions &options);
    std::optional<QString> lookUp(const QList<QuoteService> &services, const QString &code,
                                  const FetchOptions &options);
    // The index in the service list asked first.
    int firstService() const { return m_first.load(); }

private:
    std::atomic<int> m_first{0};
};

// A QuoteText split at every comma, nothing trimmed.
struct QuoteRecord
{
    QStringList fields;

    static QuoteRecord fromText(const QString &quoteText) { return {quoteText.split(u',')}; }
    // The field's text, empty when the record is shorter.
    QString field(qsizetype index) const { return fields.value(index); }
    QString name() const { return field(0); }
    QString previousClose() const { return field(2); }
    QString latestPrice() const { return field(3); } // zero before the day's first trade
    QString high() const { return field(4); }
    QString low() const { return field(5); }
};

// The text colour ShowQuote gives the four panel value labels.
enum class QuoteColour {
    Rise,       // latest above the previous close: RGB (255, 0, 0)
    Fall,       // below it: RGB (0, 192, 0)
    WindowText, // unchanged: the system's window-text colour
};

struct Rgb
{
    int red, green, blue;
};
// No value for WindowText.
std::optional<Rgb> QuoteColourRgb(QuoteColour colour);

// One change to one control, named by its objectName.
struct PanelWrite
{
    enum class Kind {
        Text,   // caption of a label, or text of the sell_Price box
        Colour, // text colour of a label
    };

    Kind kind = Kind::Text;
    QString objectName;
    QString text;                               // Kind::Text
    QuoteColour colour = QuoteColour::WindowText; // Kind::Colour

    friend bool operator==(const PanelWrite &, const PanelWrite &) = default;
};

struct ShowQuoteOutcome
{
    enum class Status {
        Shown,   // every write made
        Ignored, // a QuoteText of 20 characters or fewer: no writes at all
        Failed,  // the writes made before the failure; the window applies them
                 // and then the network-error rule
    };

    Status status = Status::Ignored;
    QList<PanelWrite> writes; // in the order they are made

    bool failed() const { return status == Status::Failed; }
};

// Writes one quote into the panel, in this order: Label52 name, Label53
// exchange of code, Label54 code, Label55 latest price, sell_Price
// (FormatMoney of the latest price) when setSellPrice, the ladder from the
// previous close, the colour of Label52 to Label55, then Label55 with the
// change in per cent and an arrow, or "等待开盘" when the latest price is zero.
// Fails where a field is missing or not a number, or where the previous close
// is zero and the latest price differs from it.
ShowQuoteOutcome ShowQuote(const QString &quoteText, const QString &code, bool setSellPrice);

// What the panel shows for a code whose lookup failed: the code and its
// exchange, the name, the price and the ladder empty, the value labels in the
// window-text colour. So no other stock's data stays beside the code, and the
// transfer fee follows the code's exchange.
QList<PanelWrite> ShowCodeOnly(const QString &code);

// The ten ladder captions, top (Label64, +10%) to bottom (Label65, −10%): the
// row's five-character tag and FormatMoney of base × factor. None for a zero base.
QList<PanelWrite> ShowPriceLadder(Money base);

} // namespace quorvane
