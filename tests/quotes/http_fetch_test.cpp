#include "quotes/http_fetch.h"
#include "quotes/quote.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <QStringDecoder>
#include <QStringEncoder>

#include <atomic>
#include <chrono>
#include <thread>

using namespace quorvane;

namespace {

std::string gbk(const QString &text) { return QByteArray(QStringEncoder("GBK")(text)).toStdString(); }

TEST(GbkTextTest, PairsFrom0x80DecodeToTheirKnownCharactersAndRepliesByTheirCharsetOrGbk)
{
    const QString mixed = QStringLiteral("浦发银行,10.50,股票 PAYH ￥\r\n\x7f");
    EXPECT_EQ(bytes2BSTR(QByteArray::fromStdString(gbk(mixed))), mixed);
    EXPECT_EQ(DecodeGbkText("\xC4\xE3\xC4"), QStringLiteral("你\uFFFD"));
    EXPECT_EQ(DecodeGbkText("ab\x80"), QStringLiteral("ab\uFFFD"));

    // The first and last character of each region, everyday ones, and pairs that are no character; 0x80 opens a
    // pair even before an ASCII letter or a line feed; a lone lead byte at the end: no text (U+FFFD in a file).
    const std::pair<const char *, const char16_t *> rows[] = {
        {"\xA1\xA1", u"\u3000"}, {"\xA9\xEF", u"\u254B"}, {"\xB0\xA1", u"啊"}, {"\xF7\xFE", u"齄"}, {"\x81\x40", u"丂"},
        {"\xA0\xFE", u"狛"}, {"\xAA\x40", u"狜"}, {"\xFE\x4F", u"\uFA29"}, {"\xA8\x40", u"\u02CA"},
        {"\xA9\x96", u"\u3007"}, {"\xA3\xA4", u"\uFFE5"}, {"\xA1\xA4", u"\u00B7"}, {"\x81\x7F", u"\uFFFD"},
        {"\x81\xFF", u"\uFFFD"}, {"\xFF\x40", u"\uFFFD"}, {"\x80\x40", u"\uFFFD"}, {"\x81\x30", u"\uFFFD"}, {"", u""},
        {"\x80\x81" "z", u"\uFFFDz"}, {"\xC4" "\x0A" "x", u"\uFFFDx"}, {"abc\xC4", nullptr}, {"\x80", nullptr}};
    for (const auto &[bytes, text] : rows)
        EXPECT_EQ(bytes2BSTR(bytes), text ? std::optional(QString::fromUtf16(text)) : std::nullopt) << bytes;
    const QString pufa = QStringLiteral("浦发");
    const QByteArray gbkBytes = QByteArray::fromStdString(gbk(pufa));
    const std::tuple<QByteArray, const char *, std::optional<QString>> replies[] = {
        {gbkBytes, "", pufa}, {gbkBytes, "text/plain; charset=ISO-8859-1", pufa},
        {pufa.toUtf8(), "text/html;Charset=\"UTF-8\"", pufa},
        {QByteArray("\x81\x30\x81\x30", 4), "text/plain; charset=GB18030", QStringLiteral("\u0080")},
        {QByteArray("abc\xC4"), "text/plain; charset=gbk", std::nullopt}};
    for (const auto &[body, contentType, text] : replies)
        EXPECT_EQ(DecodeReplyText(body, contentType), text) << contentType;
}

// A server on 127.0.0.1 at a free port, on its own thread for the test.
class HttpFetchTest : public ::testing::Test
{
protected:
    using Request = httplib::Request;
    using Response = httplib::Response;

    void SetUp() override
    {
        server.Get("/list=sh600999", [](const Request &, Response &res) {
            res.set_content("var hq_str_sh600999=\"\";\n", "text/plain");
        });
        server.Get(R"(/kinsoku/.*)", [this](const Request &, Response &res) {
            ++refused;
            res.status = 403;
            res.set_content("Kinsoku jikou desu!", "text/html");
        });
        server.Get(R"(/q=sh600000)", [](const Request &, Response &res) { // UTF-8, as one service now sends
            res.set_content(QStringLiteral("v_sh600000=\"1~浦发银行~600000~10.50~10.40~10.45%1~10.60~10.30\";\n")
                                .arg(QStringLiteral("~0").repeated(27)).toStdString(), "text/plain; charset=UTF-8");
        });
        // A quote reply in GBK naming the path it was asked for.
        server.Get(R"(/list=.*)", [](const Request &req, Response &res) {
            res.set_content(gbk(QStringLiteral("var hq_str=\"浦发银行,%1\";\n").arg(req.target.c_str())), "text/plain");
        });
        server.Get("/headers", [](const Request &req, Response &res) {
            res.set_content(req.get_header_value("Referer") + '|' + req.get_header_value("Content-Type"), "text/plain");
        });
        server.Get("/lone-lead", [](const Request &, Response &res) { res.set_content("abc\xC4", "text/plain"); });
        server.Get("/silent", [this](const Request &, Response &) { // accepted, never answered until the test ends
            while (!released)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        });
        server.Get(R"(/bytes(\d+))", [](const Request &req, Response &res) { // in pieces, no length announced
            const size_t size = std::stoul(req.matches[1]);
            res.set_chunked_content_provider("text/plain", [size](size_t sent, httplib::DataSink &sink) {
                static const std::string piece(64 * 1024, 'a');
                if (sent == size)
                    sink.done();
                return sent == size || sink.write(piece.data(), std::min(size - sent, piece.size()));
            });
        });
        server.Get(R"(/hop(\d))", [](const Request &req, Response &res) {
            const int left = std::stoi(req.matches[1]);
            res.set_redirect(left == 0 ? "/list=sh600000" : "/hop" + std::to_string(left - 1));
        });
        const int port = server.bind_to_any_port("127.0.0.1");
        ASSERT_GT(port, 0);
        host = QStringLiteral("127.0.0.1:%1").arg(port);
        thread = std::thread([this] { server.listen_after_bind(); });
        for (int i = 0; i < 500 && !server.is_running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(server.is_running());
    }
    void TearDown() override
    {
        released = true;
        server.stop();
        if (thread.joinable())
            thread.join();
    }
    QString url(const char *path) const { return "http://" + host + QLatin1StringView(path); }

    const QString Dead = QStringLiteral("127.0.0.1:1");
    httplib::Server server;
    std::thread thread;
    QString host;
    std::atomic<bool> released{false};
    std::atomic<int> refused{0};
};

TEST_F(HttpFetchTest, DecodedBodiesTheHeadersSentTheQuotesEncodedPathAndTheLimits)
{
    // A header value stays on its line.
    const HttpFetch fetch({.referer = QStringLiteral("https://finance.sina.com.cn/\r\nX-B: c\n")});
    EXPECT_EQ(fetch.viewSource(url("/headers")), "https://finance.sina.com.cn/X-B: c|text/XML");
    EXPECT_EQ(HttpFetch().viewSource(url("/headers")), "|text/XML") << "no Referer when none is configured";
    EXPECT_EQ(fetch.viewSource(url("/kinsoku/")), "Kinsoku jikou desu!") << "the body of a refusal too";
    EXPECT_EQ(fetch.viewSource(url("/bytes0")), QString());
    EXPECT_EQ(fetch.viewSource(url("/lone-lead")), std::nullopt);
    EXPECT_EQ(fetch.fetchBytes(url("/lone-lead")), QByteArray("abc\xC4"));
    EXPECT_EQ(LookUpQuote(fetch, host, "600000"), QStringLiteral("浦发银行,/list=sh600000\n"));
    EXPECT_EQ(LookUpQuote(fetch, host, "6 /../"), QStringLiteral("浦发银行,/list=sh6%20%2F%2E%2E%2F\n"));
    // Unreachable or malformed addresses.
    for (const QString &address : {"http://" + Dead, QStringLiteral("http://"), QStringLiteral("file:///etc/hostname")})
        EXPECT_EQ(HttpFetch().viewSource(address), std::nullopt) << address.toStdString();
    EXPECT_EQ(LookUpQuote(HttpFetch(), Dead, "600000"), std::nullopt);
    // Bodies over two mebibytes fail.
    EXPECT_EQ(fetch.viewSource(url("/bytes2097152")).value_or("").size(), 2 * 1024 * 1024);
    EXPECT_EQ(fetch.viewSource(url("/bytes2097153")), std::nullopt);
    // Three redirects are followed, a fourth is not.
    EXPECT_EQ(fetch.viewSource(url("/hop2")), QStringLiteral("var hq_str=\"浦发银行,/list=sh600000\";\n"));
    EXPECT_EQ(fetch.viewSource(url("/hop3")), std::nullopt);
}

TEST_F(HttpFetchTest, TheOtherServiceAnswersWhenOneFailsAndThenServesFirst)
{
    QuoteFailover failover;
    const QList<QuoteService> services{{QuoteFormat::List, host + "/kinsoku", "https://finance.sina.com.cn/"},
                                       {QuoteFormat::Q, host, {}}};
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(failover.lookUp(services, "600000", {}), QStringLiteral("浦发银行,10.45,10.40,10.50,10.60,10.30"));
    EXPECT_EQ(refused.load(), 1) << "the service that answered is asked first";
    EXPECT_EQ(failover.firstService(), 1);

    QuoteFailover fresh;
    EXPECT_EQ(fresh.lookUp({{QuoteFormat::List, host, {}}, {QuoteFormat::Q, Dead, {}}}, "600999", {}), "\n")
        << "an empty quote is an answer";
    EXPECT_EQ(fresh.lookUp({{QuoteFormat::List, Dead, {}}, {QuoteFormat::Q, host + "/kinsoku", {}}}, "600000", {}),
              std::nullopt);
}

TEST_F(HttpFetchTest, ACancelOrTheTimeLimitEndsAWaitingFetch)
{
    FetchOptions options;
    options.cancel = std::make_shared<FetchCancel>();
    auto started = std::chrono::steady_clock::now();
    std::thread canceller([&options] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        options.cancel->cancel();
    });
    EXPECT_EQ(HttpFetch(options).viewSource(url("/silent")), std::nullopt);
    canceller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4)) << "long before the 8 s limit";
    EXPECT_EQ(HttpFetch(options).viewSource(url("/list=sh600000")), std::nullopt) << "the next ends at once";

    started = std::chrono::steady_clock::now();
    const HttpFetch limited({.referer = {}, .connectTimeoutMs = 1000, .totalTimeoutMs = 1000});
    EXPECT_EQ(limited.viewSource(url("/silent")), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(6));
}

} // namespace
