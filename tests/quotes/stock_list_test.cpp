#include "quotes/pinyin_initials.h"
#include "quotes/quote.h"
#include "quotes/stock_list.h"
#include "quotes/stock_list_refresh.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

using namespace quorvane;

namespace {

QStringList lines(const QList<StockListEntry> &entries)
{
    QStringList all;
    for (const auto &entry : entries)
        all.append(entry.code + ' ' + entry.name + ' ' + entry.key);
    return all;
}

TEST(StockListTest, LoadsGbkLinesSkipsUnusableOnesSearchesTheStartOfCodeKeyOrNameAndMakesPinyinKeys)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("StockList.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringEncoder("GBK")(QStringLiteral(
        "000001 平安银行 PAYH\r\n\r\n"
        "600004 白云机场\r\n"              // two fields
        " 无代码 WDM\r\n"                  // no code
        "000002 万科Ａ WKA extra words\n"  // LF only, extra fields ignored
        "600007  空名\r\n"                 // two spaces: the name is empty, the key "空名"
        "601318 中国平安 ZGPA\r\n"
        "000063 中兴通讯 ZXTX")));        // no line end at the end
    file.close();
    const StockListTable table = StockListTable::load(file.fileName());
    EXPECT_EQ(lines(table.entries()), (QStringList{"000001 平安银行 PAYH", "000002 万科Ａ WKA", "600007  空名",
                                                   "601318 中国平安 ZGPA", "000063 中兴通讯 ZXTX"}));
    for (const QString &missing : {dir.filePath("absent.txt"), dir.path(), QString()})
        EXPECT_TRUE(StockListTable::load(missing).entries().isEmpty()) << missing.toStdString();

    // From the start of a code, key (exact in case) or name, in table order; only ASCII spaces are trimmed.
    const std::pair<const char *, QStringList> rows[] = {{"00000", {"000001 平安银行", "000002 万科Ａ"}},
        {"PA", {"000001 平安银行"}}, {"pa", {}}, {"  中", {"601318 中国平安", "000063 中兴通讯"}},
        {"平安", {"000001 平安银行"}}, {"0000011", {}}, {"601318", {"601318 中国平安"}}, {"　中", {}}};
    for (const auto &[text, found] : rows)
        EXPECT_EQ(table.search(QString::fromUtf8(text)), found) << '"' << text << '"';
    EXPECT_EQ(table.search("   ").size() + table.search(QString()).size(), 10) << "a blank box matches every entry";

    // The shipped list: every exchange, entries far past line 3000, ten lines at most.
    const StockListTable shipped = StockListTable::load(QStringLiteral(QUORVANE_SOURCE_DIR "/data/StockList.txt"));
    ASSERT_EQ(shipped.entries().size(), 5448);
    qsizetype keysOfTheirNames = 0; // the shipped keys are the pinyin initials, bar a few read otherwise
    for (const auto &entry : shipped.entries()) {
        ASSERT_TRUE(entry.code.size() == 6 && !entry.name.isEmpty() && !entry.key.isEmpty()
                    && !entry.name.contains(QChar::ReplacementCharacter)) << entry.code.toStdString();
        keysOfTheirNames += PinyinInitials(entry.name) == entry.key;
    }
    EXPECT_GE(keysOfTheirNames * 1000, shipped.entries().size() * 995) << keysOfTheirNames;
    EXPECT_EQ(shipped.search("6").size(), 10);
    EXPECT_EQ(shipped.search("6").first(1) + shipped.search("GZMT") + shipped.search("688981") + shipped.search("AHFH"),
              (QStringList{"600000 浦发银行", "600519 贵州茅台", "688981 中芯国际", "920000 安徽凤凰"}));
    // Names to their initials, as the keys are made.
    const std::pair<const char *, const char *> initials[] = {{"平安银行", "PAYH"}, {"*ST国华", "STGH"}, {"万科Ａ", "WKA"},
        {"长江电力", "CJDL"}, {"中国一重", "ZGYZ"}, {"行动教育", "XDJY"}, {"亚厦股份", "YSGF"}, {"ｓｔ１号", "ST1H"}};
    for (const auto &[name, key] : initials)
        EXPECT_EQ(PinyinInitials(QString::fromUtf8(name)), key) << name;
}

TEST(StockListRefreshTest, CodesBatchesRepliesMergeRulesFailedBatchesAndTheSavedListInGbk)
{
    const QStringList codes = RefreshCodes();
    EXPECT_EQ(codes.size(), 15999);
    EXPECT_EQ(codes.first() + codes.last(), "000001920999");

    const QString url = QStringLiteral("http://127.0.0.1:18170");
    const QList<QStringList> batches = BatchCodes(codes, url.size() + 6);
    EXPECT_EQ(batches.size(), 18);
    qsizetype all = 0;
    for (const QStringList &batch : batches) {
        all += batch.size();
        EXPECT_LT((url + QuotePath(QuoteFormat::List, batch)).size(), 8192);
    }
    EXPECT_EQ(all, codes.size());
    EXPECT_GE((url + QuotePath(QuoteFormat::List, batches[0] + QStringList{batches[1].first()})).size(), 8192)
        << "each batch is as full as it may be";

    // Both services' replies, Beijing's codes among them.
    const auto listTexts = QuoteTextsOfReply(QuoteFormat::List, QStringLiteral(
        "var hq_str_sh600000=\"浦发银行,10.00,10.01\";\nvar hq_str_sz000002=\"万  科Ａ,7.80\";\n"
        "var hq_str_bj920000=\"\";\nvar hq_str_bj920001=\"鼎智科技,1\";\n"));
    const auto q = QuoteTextsOfReply(QuoteFormat::Q, QStringLiteral(
        "v_sh600519=\"1~贵州茅台~600519~1650.00\";\nv_bj920000=\"1~安徽凤凰~920000\";\nv_pv_none_match=\"1\";\n"));
    EXPECT_EQ(NamesOfQuoteTexts(listTexts.value()), (QuoteNames{{"600000", "浦发银行"}, {"000002", "万科Ａ"},
                                                          {"920000", ""}, {"920001", "鼎智科技"}}));
    EXPECT_EQ(NamesOfQuoteTexts(q.value()), (QuoteNames{{"600519", "贵州茅台"}, {"920000", "安徽凤凰"}}));

    const QList<StockListEntry> list = {{"000002", "万科Ａ", "WKA"}, {"600000", "浦发银行", "PFYH"},
        {"600001", "旧名", "JM"}, {"600002", "华电国际", "HDGJ"}, {"600003", "退市", "TS"}, {"600004", "无答", "WD"},
        {"600005", "大明电子", "DMDZ"}};
    const QuoteNames answers = {
        {"000002", "万科Ａ"},     // unchanged
        {"600000", "浦发银行"},   // unchanged
        {"600001", "新名"},       // renamed, key made anew
        {"600002", "XD华电国"},   // a trading-day prefix never renames
        {"600003", ""},           // an empty quote removes
        {"600005", "C大明"},      // nor does C
        {"300999", "N新股"},      // added without its prefix
        {"920000", "安徽凤凰"},   // added
        {"600006", ""},           // unknown and empty: nothing
    };                            // 600004 unanswered: kept
    const StockListRefresh refresh = MergeQuoteNames(list, answers);
    EXPECT_EQ(lines(refresh.entries),
              (QStringList{"000002 万科Ａ WKA", "300999 新股 XG", "600000 浦发银行 PFYH", "600001 新名 XM",
                           "600002 华电国际 HDGJ", "600004 无答 WD", "600005 大明电子 DMDZ", "920000 安徽凤凰 AHFH"}));
    EXPECT_EQ(RefreshMessage(refresh), "股票列表已更新：共 8 只，新增 2 只，更名 1 只，移除 1 只");
    for (const auto &[name, length] : {std::pair{"XR中国", 2}, {"DR银行", 2}, {"NCS科技", 0}, {"C", 0}})
        EXPECT_EQ(TradingDayPrefixLength(QString::fromUtf8(name)), length) << name;

    // Failed batches keep their lines; a cancel, or no batch answered, changes nothing.
    const QList<StockListEntry> two = {{"000001", "平安银行", "PAYH"}, {"600000", "浦发银行", "PFYH"}};
    QStringList asked;
    // The first batch (Shenzhen's main board) fails, every other answers empty quotes.
    auto someFail = [&](const QStringList &codes) -> std::optional<QuoteNames> {
        asked.append(codes.first());
        if (codes.contains("000001"))
            return std::nullopt;
        QuoteNames names;
        for (const QString &code : codes)
            names.insert(code, code == "920000" ? QStringLiteral("安徽凤凰") : QString());
        names.insert("999999", "不在其中"); // not asked for: not taken
        return names;
    };
    const StockListRefresh partial = RefreshStockList(two, someFail, 30);
    EXPECT_EQ(partial.status, StockListRefresh::Status::Done);
    EXPECT_EQ(lines(partial.entries), (QStringList{"000001 平安银行 PAYH", "920000 安徽凤凰 AHFH"}));
    EXPECT_EQ(asked.size(), 18);

    auto noneAnswer = [](const QStringList &) -> std::optional<QuoteNames> { return std::nullopt; };
    EXPECT_EQ(RefreshStockList(two, noneAnswer, 30).status, StockListRefresh::Status::NothingFetched);
    auto allEmpty = [](const QStringList &codes) -> std::optional<QuoteNames> { return QuoteNames{{codes[0], {}}}; };
    EXPECT_EQ(RefreshStockList(two, allEmpty, 30).status, StockListRefresh::Status::NothingFetched);
    int calls = 0;
    EXPECT_EQ(RefreshStockList(two, someFail, 30, [&](int, int) { return ++calls < 3; }).status,
              StockListRefresh::Status::Cancelled);
    EXPECT_EQ(calls, 3);
    QTemporaryDir dir;
    const QString path = dir.filePath("StockList.txt");
    const QList<StockListEntry> entries = {{"000002", "万科Ａ", "WKA"}, {"920000", "安徽凤凰", "AHFH"}};
    ASSERT_TRUE(SaveStockList(path, entries));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("000002 \xCD\xF2\xBF\xC6\xA3\xC1 WKA\r\n920000 \xB0\xB2\xBB\xD5\xB7\xEF\xBB\xCB AHFH\r\n"));
    EXPECT_FALSE(SaveStockList(dir.filePath("no/such/folder/StockList.txt"), entries));
    EXPECT_FALSE(SaveStockList(path, {{"000003", "\U0001F600", "X"}})) << "a name GBK cannot hold";
    EXPECT_EQ(lines(StockListTable::load(path).entries()), lines(entries)) << "a refused write leaves the old list";
}

} // namespace
