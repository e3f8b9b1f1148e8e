#include "quotes/pinyin_initials.h"

#include <array>
#include <string_view>

namespace quorvane {

namespace {

constexpr char32_t FirstHan = 0x3000;
constexpr std::string_view HanLetters =
#include "quotes/pinyin_letters.inc"
    ;
static_assert(HanLetters.size() == 0xA000 - FirstHan);

struct Exception
{
    std::u16string_view text;
    std::string_view initials;
};

// Where the customary reading is not the one stock names use: words first
// (行 is H in 银行 but X in 行动), then characters that names always read
// one way (长城, 长江, 长春: chang).
constexpr std::array<Exception, 21> Exceptions = {{
    {u"银行", "YH"}, {u"商行", "SH"}, {u"联行", "LH"}, {u"港行", "GH"}, {u"酒行", "JH"},
    {u"重庆", "CQ"}, {u"重药", "CY"}, {u"厦门", "XM"}, {u"厦工", "XG"}, {u"厦钨", "XW"},
    {u"华厦", "HX"}, {u"东阿", "DE"}, {u"会稽", "KJ"}, {u"参林", "SL"}, {u"空调", "KT"},
    {u"长", "C"},    {u"晟", "S"},    {u"藏", "Z"},    {u"泊", "B"},    {u"埔", "P"},
    {u"鹄", "H"},
}};

char letterOf(char16_t c)
{
    if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z'))
        return char(c);
    if (c >= u'a' && c <= u'z')
        return char(c - u'a' + 'A');
    if (c >= u'０' && c <= u'９')
        return char(c - u'０' + '0');
    if (c >= u'Ａ' && c <= u'Ｚ')
        return char(c - u'Ａ' + 'A');
    if (c >= u'ａ' && c <= u'ｚ')
        return char(c - u'ａ' + 'A');
    if (c >= FirstHan && char32_t(c) < FirstHan + HanLetters.size()) {
        const char letter = HanLetters[c - FirstHan];
        return letter == '-' ? 0 : letter;
    }
    return 0;
}

} // namespace

QString PinyinInitials(const QString &name)
{
    const std::u16string_view text(reinterpret_cast<const char16_t *>(name.utf16()), size_t(name.size()));
    QString key;
    for (size_t i = 0; i < text.size();) {
        const Exception *match = nullptr;
        for (const Exception &e : Exceptions) {
            if (text.substr(i).starts_with(e.text)) {
                match = &e;
                break;
            }
        }
        if (match) {
            key += QLatin1StringView(match->initials.data(), qsizetype(match->initials.size()));
            i += match->text.size();
            continue;
        }
        if (const char letter = letterOf(text[i]))
            key += QLatin1Char(letter);
        ++i;
    }
    return key;
}

} // namespace quorvane
