// The whole Calculate command on any texts in its fields: it always ends, it
// either rejects the command or writes results, never both, and what it writes
// is a sound trade: paid = amount + fees and received = amount - fees to the
// fen, each fee at least its minimum, no negative fee without a negative rate,
// and a break-even price that sells everything without a loss where one fen
// less loses.
#include "fuzz_support.h"

#include "calc/calculate.h"

using namespace quorvane;

namespace {

const Money Fen = Money::fromUnits(100), HalfFen = Money::fromUnits(50);

// A result field's text as an amount; none when it was not written or is no number (无法保本).
std::optional<Money> shown(const CalculateOutcome &outcome, const char *field)
{
    for (const auto &[name, text] : outcome.fieldTexts)
        if (name == QLatin1StringView(field) && IsNumberText(text))
            return MoneyFromText(text);
    return std::nullopt;
}

bool within(Money a, Money b, Money tolerance) { return a - b <= tolerance && b - a <= tolerance; }

void checkTrade(const CalculateInputs &inputs, const CalculateOutcome &outcome)
{
    const FeeInputs &fees = inputs.fees;
    const Money minBrokerage = MoneyFromText(fees.minBrokerage), minStampDuty = MoneyFromText(fees.minStampDuty),
                minTransfer = MoneyFromText(fees.minTransferMoney);
    bool noRebate = true;
    for (const QString *text : {&fees.brokerageRatio, &fees.minBrokerage, &fees.transferMoney, &fees.minTransferMoney,
                                &fees.stampDuty, &fees.minStampDuty, &fees.buyOtherMoney, &fees.sellOtherMoney})
        noRebate = noRebate && MoneyFromText(*text) >= Money();
    for (const char *side : {"buy", "sell"}) {
        const auto field = [&](const char *name) { return shown(outcome, QByteArray(side).append(name).constData()); };
        const auto amount = field("_TotalMoney"), brokerage = field("_Brokerage"), total = field("_Factorage");
        if (!amount)
            continue; // the sell frame keeps what it shows
        const bool buying = qstrcmp(side, "buy") == 0;
        const auto transfer = field(buying ? "_TansferMoney" : "_TransferMoney");
        const auto net = field(buying ? "_OutOfPocketExpenses" : "_ReceivedMoney");
        FUZZ_CHECK(brokerage && transfer && total && net);
        FUZZ_CHECK(within(*net, buying ? *amount + *total : *amount - *total, Fen));
        FUZZ_CHECK(*brokerage >= minBrokerage - HalfFen);
        FUZZ_CHECK(transfer->isZero() || *transfer >= minTransfer - HalfFen);
        FUZZ_CHECK(buying || field("_StampDuty").value() >= minStampDuty - HalfFen);
        // Without a negative rate every minimum is 0 or more too.
        FUZZ_CHECK(!noRebate || (*transfer >= Money() && *total >= Money()));
    }

    const std::optional<Money> breakEven = shown(outcome, "buy_BreakEven");
    if (!breakEven)
        return;
    const SumFunction rules(fees);
    const Money buyPrice = MoneyFromText(inputs.buyPrice);
    const Quantity quantity = CountFromText(inputs.buyNumber);
    const Money price = rules.BreakEvenPrice(quantity, buyPrice).value();
    const auto loses = [&](Money at) { return FormatMoney(rules.ProfitAndLoss(buyPrice, quantity, at)).startsWith(u'-'); };
    FUZZ_CHECK(within(price, *breakEven, HalfFen) && price > buyPrice && !loses(price));
    FUZZ_CHECK(price - Fen <= buyPrice || loses(price - Fen));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The fields in the order of the window, cut at NUL bytes; the last part's
    // first byte holds the transfer-fee switches (Shanghai, Shenzhen, by amount).
    const QList<QByteArray> parts = FuzzParts(data, size, 15);
    CalculateInputs inputs;
    FeeInputs &fees = inputs.fees;
    QString *const fields[] = {&fees.brokerageRatio, &fees.minBrokerage,   &fees.transferMoney,   &fees.minTransferMoney,
                               &fees.stampDuty,      &fees.minStampDuty,   &fees.buyOtherMoney,   &fees.sellOtherMoney,
                               &fees.exchange,       &inputs.buyPrice,     &inputs.buyNumber,     &inputs.sellPrice,
                               &inputs.sellNumber,   &inputs.isSumSamePrice};
    for (qsizetype i = 0; i < 14; ++i)
        *fields[i] = QString::fromUtf8(parts[i]);
    const char switches = parts[14].isEmpty() ? 1 : parts[14][0];
    fees.shanghaiTransferFee = switches & 1;
    fees.shenzhenTransferFee = switches & 2;
    fees.transferByAmount = switches & 4;

    const CalculateOutcome outcome = Calculate(inputs);
    for (const auto &[objectName, text] : outcome.fieldTexts)
        FUZZ_CHECK(!objectName.isEmpty());
    if (outcome.rejection) {
        FUZZ_CHECK(!outcome.rejection->message.isEmpty() && !outcome.rejection->focusField.isEmpty());
        FUZZ_CHECK(outcome.fieldTexts.isEmpty() && !outcome.logDue);
    } else {
        try {
            checkTrade(inputs, outcome);
        } catch (const OutOfRangeError &) {
            // Sums of figures near the top of the range; the command itself has shown them.
        }
    }
    return 0;
}
