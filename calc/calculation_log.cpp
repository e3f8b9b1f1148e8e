#include "calculation_log.h"

#include "calc/write_failure.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <array>

namespace quorvane {

namespace {

const QString BuyHeader = QStringLiteral(
    "股票代码        股票名称        买入价格        买入数量        交易金额        佣　　金        过 户 费        "
    "总手续费        实付金额        买入成本        保本价格");
const QString SellHeader = QStringLiteral(
    "股票代码        股票名称        卖出价格        卖出数量        交易金额        佣　　金        过 户 费        "
    "印 花 税        总手续费        实收金额        收 益 率        盈亏金额");
const QString Rule(74, u'-');
const QString LineEnd = QStringLiteral("\r\n");

constexpr int ValueWidth = 16;

// Right-aligns text in a column of width characters. A text that fills the
// column or more is kept whole behind one space, and the line grows: a cut
// value would be a wrong value, and one joined to its neighbour unreadable.
QString column(const QString &text, int width)
{
    if (text.size() >= width)
        return u' ' + text;
    return QString(width - text.size(), u' ') + text;
}

QString valueColumn(const ControlText &textOf, const char *field)
{
    QString text = textOf(QString::fromLatin1(field));
    text.remove(u'\uFFE5');
    return column(text, ValueWidth);
}

// Code and name of the stock panel, untrimmed.
QString stockColumns(const ControlText &textOf)
{
    const QString code = textOf(QStringLiteral("Label54"));
    const QString name = textOf(QStringLiteral("Label52"));
    // The code starts the line: nothing before it to keep apart from.
    const QString codeColumn = code.size() >= 8 ? code : column(code, 8);
    return codeColumn + column(name, name.trimmed().isEmpty() ? 16 : 12);
}

template <std::size_t N>
QString dataLine(const ControlText &textOf, const std::array<const char *, N> &fields)
{
    QString line = stockColumns(textOf);
    for (const char *field : fields)
        line += valueColumn(textOf, field);
    return line;
}

} // namespace

QByteArray BuildCalculationLog(const ControlText &textOf)
{
    if (!textOf)
        return {};
    static constexpr std::array<const char *, 9> buyFields{
        "buy_Price",     "buy_Number",    "buy_TotalMoney",          "buy_Brokerage", "buy_TansferMoney",
        "buy_Factorage", "buy_OutOfPocketExpenses", "buy_Cost",      "buy_BreakEven",
    };
    static constexpr std::array<const char *, 10> sellFields{
        "sell_Price",     "sell_Number",    "sell_TotalMoney",    "sell_Brokerage", "sell_TransferMoney",
        "sell_StampDuty", "sell_Factorage", "sell_ReceivedMoney", "sell_Yield",     "sell_ProfitAndLoss",
    };
    const QString entry = BuyHeader + LineEnd + dataLine(textOf, buyFields) + LineEnd + SellHeader + LineEnd
                          + dataLine(textOf, sellFields) + LineEnd + Rule + LineEnd + LineEnd;

    // Characters GBK lacks come out as its replacement; the entry still counts.
    QStringEncoder toGbk("GBK");
    if (!toGbk.isValid())
        return {};
    return toGbk.encode(entry);
}

QString WriteCalculationLog(const QString &folder, const ControlText &textOf)
{
    if (folder.isEmpty())
        return {}; // no folder chosen: never fall back to the working directory
    const QByteArray entry = BuildCalculationLog(textOf);
    if (entry.isEmpty())
        return {};
    QFile file(QDir(folder).filePath(QStringLiteral("Log.txt")));
    // Unbuffered, so a short write (a full disk) is seen here.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return WriteFailureReason(file);
    const qint64 before = file.size();
    if (file.write(entry) == entry.size())
        return {};
    const QString reason = WriteFailureReason(file);
    file.resize(before); // a piece of an entry would glue the next one to it
    return reason;
}

} // namespace quorvane
