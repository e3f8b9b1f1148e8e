// The whole Calculate command on any texts in its fields: it always ends,
// and it either rejects the command or writes results, never both.
#include "fuzz_support.h"

#include "calc/calculate.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The fields in the order of the window, cut at NUL bytes; the last part's
    // first byte holds the two transfer-fee switches.
    const QList<QByteArray> parts = FuzzParts(data, size, 15);
    QList<QString> texts;
    for (qsizetype i = 0; i < 14; ++i)
        texts.append(QString::fromUtf8(parts[i]));

    CalculateInputs inputs;
    FeeInputs &fees = inputs.fees;
    fees.brokerageRatio = texts[0];
    fees.minBrokerage = texts[1];
    fees.transferMoney = texts[2];
    fees.minTransferMoney = texts[3];
    fees.stampDuty = texts[4];
    fees.minStampDuty = texts[5];
    fees.buyOtherMoney = texts[6];
    fees.sellOtherMoney = texts[7];
    fees.exchange = texts[8];
    inputs.buyPrice = texts[9];
    inputs.buyNumber = texts[10];
    inputs.sellPrice = texts[11];
    inputs.sellNumber = texts[12];
    inputs.isSumSamePrice = texts[13];
    const char switches = parts[14].isEmpty() ? 1 : parts[14][0];
    fees.shanghaiTransferFee = switches & 1;
    fees.shenzhenTransferFee = switches & 2;

    const CalculateOutcome outcome = Calculate(inputs);
    if (outcome.rejection) {
        FUZZ_CHECK(!outcome.rejection->message.isEmpty());
        FUZZ_CHECK(!outcome.rejection->focusField.isEmpty());
        FUZZ_CHECK(outcome.fieldTexts.isEmpty() && !outcome.logDue);
    }
    for (const auto &[objectName, text] : outcome.fieldTexts)
        FUZZ_CHECK(!objectName.isEmpty());
    return 0;
}
