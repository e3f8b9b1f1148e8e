// The whole Calculate command on any texts in its fields: it always ends,
// and it either rejects the command or writes results, never both.
#include "fuzz_support.h"

#include "calc/calculate.h"

using namespace quorvane;

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
    if (outcome.rejection) {
        FUZZ_CHECK(!outcome.rejection->message.isEmpty() && !outcome.rejection->focusField.isEmpty());
        FUZZ_CHECK(outcome.fieldTexts.isEmpty() && !outcome.logDue);
    }
    for (const auto &[objectName, text] : outcome.fieldTexts)
        FUZZ_CHECK(!objectName.isEmpty());
    return 0;
}
