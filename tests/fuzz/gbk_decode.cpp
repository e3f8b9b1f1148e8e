// Decoded text is never longer than its bytes; the strict and the lenient
// decoders agree wherever the strict one succeeds, and bytes below 0x80 are
// their own characters.
#include "fuzz_support.h"

#include "quotes/http_fetch.h"

#include <algorithm>

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString lenient = DecodeGbkText(bytes);
    FUZZ_CHECK(lenient.size() <= bytes.size());

    const std::optional<QString> strict = bytes2BSTR(bytes);
    // Only a last lead byte without its pair makes the strict decoder fail.
    qsizetype at = 0;
    while (at < bytes.size())
        at += static_cast<unsigned char>(bytes[at]) < 0x80 ? 1 : 2;
    FUZZ_CHECK(strict.has_value() == (at == bytes.size()));
    if (strict)
        FUZZ_CHECK(*strict == lenient);

    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        FUZZ_CHECK(lenient == QString::fromLatin1(bytes));
    return 0;
}
