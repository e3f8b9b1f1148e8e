#pragma once

#include "calc/money.h"

#include <QList>
#include <QString>
#include <QStringList>

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

// The ten ladder captions, top (Label64, +10%) to bottom (Label65, −10%): the
// row's five-character tag and FormatMoney of base × factor. None for a zero base.
QList<PanelWrite> ShowPriceLadder(Money base);

} // namespace quorvane
