#include "quotes/http_fetch.h"

#include "quotes/test_server.h"

#include <gtest/gtest.h>

#include <QStringEncoder>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

using namespace quorvane;

namespace {

std::string gbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    return QByteArray(encoder(text)).toStdString();
}

TEST(Bytes2BstrTest, DecodesEveryByteFrom0x80AsTheLeadOfAPair)
{
    EXPECT_EQ(bytes2BSTR(""), QString());
    EXPECT_EQ(bytes2BSTR("abc\r\n\x7f"), QString("abc\r\n\x7f"));
    EXPECT_EQ(bytes2BSTR("A\xC4\xE3" "B"), QString("A你B"));
    // 0x80 opens a pair even before an ASCII letter: one character, no 'A'.
    const std::optional<QString> pair = bytes2BSTR("\x80" "A");
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->size(), 1);
    EXPECT_EQ(*pair, QString(QChar(QChar::ReplacementCharacter)));
    EXPECT_EQ(bytes2BSTR("\x80\x81" "z"), QString(QChar(QChar::ReplacementCharacter)) + u'z');
    EXPECT_EQ(bytes2BSTR("\xC4" "\x0A" "x"), QString(QChar(QChar::ReplacementCharacter)) + u'x')
        << "a line feed after a lead byte is taken as its second byte";
    EXPECT_FALSE(bytes2BSTR("abc\xC4"));
    EXPECT_FALSE(bytes2BSTR("\x80"));
    EXPECT_EQ(bytes2BSTR("\xC4\xE3\xC4"), std::nullopt);
    EXPECT_EQ(DecodeGbkText("\xC4\xE3\xC4"), QString("你") + QChar(QChar::ReplacementCharacter));

    const QString mixed = QStringLiteral("浦发银行,10.50,股票 PAYH ￥");
    EXPECT_EQ(bytes2BSTR(QByteArray::fromStdString(gbk(mixed))), mixed);
}

class HttpFetchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        httplib::Server &s = server.server;
        s.Get("/list=sh600000", [this](const httplib::Request &req, httplib::Response &res) {
            std::lock_guard lock(mutex);
            referer = req.get_header_value("Referer");
            contentType = req.get_header_value("Content-Type");
            res.set_content(gbk("var hq_str_sh600000=\"浦发银行,10.00,10.01,10.50\";\n"),
                            "application/javascript; charset=GBK");
        });
        s.Get("/missing", [](const httplib::Request &, httplib::Response &res) {
            res.status = 404;
            res.set_content(gbk("<p>页面不存在</p>"), "text/html");
        });
        s.Get("/empty", [](const httplib::Request &, httplib::Response &res) {
            res.set_content("", "text/plain");
        });
        s.Get("/lone-lead", [](const httplib::Request &, httplib::Response &res) {
            res.set_content("abc\xC4", "text/plain");
        });
        s.Get("/silent", [this](const httplib::Request &, httplib::Response &) {
            // Accepted, never answered until the test ends.
            std::unique_lock lock(mutex);
            released.wait_for(lock, std::chrono::seconds(20), [this] { return release; });
        });
        s.Get("/cap", [](const httplib::Request &, httplib::Response &res) {
            res.set_content(std::string(2 * 1024 * 1024, 'a'), "text/plain");
        });
        s.Get("/over-cap", [](const httplib::Request &, httplib::Response &res) {
            res.set_content(std::string(2 * 1024 * 1024 + 1, 'a'), "text/plain");
        });
        s.Get("/endless", [this](const httplib::Request &, httplib::Response &res) {
            // No length announced, and no end: only the cap ends it.
            res.set_chunked_content_provider("text/plain", [this](size_t, httplib::DataSink &sink) {
                static const std::string chunk(64 * 1024, 'x');
                streamed += chunk.size();
                return streamed < 64u * 1024 * 1024 && sink.write(chunk.data(), chunk.size());
            });
        });
        s.Get("/loop", [](const httplib::Request &, httplib::Response &res) {
            res.set_redirect("/loop");
        });
        s.Get(R"(/hop(\d))", [](const httplib::Request &req, httplib::Response &res) {
            const int left = std::stoi(req.matches[1]);
            res.set_redirect(left == 0 ? "/list=sh600000" : "/hop" + std::to_string(left - 1));
        });
        ASSERT_TRUE(server.start());
    }

    void TearDown() override
    {
        {
            std::lock_guard lock(mutex);
            release = true;
        }
        released.notify_all();
        server.stop();
    }

    QString url(const char *path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server.port()).arg(QLatin1StringView(path));
    }

    test::TestServer server;
    std::mutex mutex;
    std::condition_variable released;
    bool release = false;
    std::string referer, contentType;
    std::atomic<size_t> streamed{0};
};

TEST_F(HttpFetchTest, ReturnsTheDecodedBodyAndSendsTheTwoHeaders)
{
    HttpFetch fetch({.referer = QStringLiteral("https://finance.sina.com.cn/")});
    EXPECT_EQ(fetch.viewSource(url("/list=sh600000")),
              QStringLiteral("var hq_str_sh600000=\"浦发银行,10.00,10.01,10.50\";\n"));
    std::lock_guard lock(mutex);
    EXPECT_EQ(referer, "https://finance.sina.com.cn/");
    EXPECT_EQ(contentType, "text/XML");
}

TEST_F(HttpFetchTest, NoRefererWhenNoneIsConfigured)
{
    EXPECT_TRUE(HttpFetch().viewSource(url("/list=sh600000")));
    std::lock_guard lock(mutex);
    EXPECT_EQ(referer, "");
}

TEST_F(HttpFetchTest, ErrorPagesAndEmptyBodiesAreTextButUndecodableBodiesFail)
{
    HttpFetch fetch;
    EXPECT_EQ(fetch.viewSource(url("/missing")), QStringLiteral("<p>页面不存在</p>"));
    EXPECT_EQ(fetch.viewSource(url("/empty")), QString());
    EXPECT_EQ(fetch.viewSource(url("/lone-lead")), std::nullopt);
    EXPECT_EQ(fetch.fetchBytes(url("/lone-lead")), QByteArray("abc\xC4"));
}

TEST_F(HttpFetchTest, ASilentServerEndsAtTheTimeLimit)
{
    FetchOptions options;
    options.connectTimeoutMs = 1000;
    options.totalTimeoutMs = 1000;
    HttpFetch fetch(options);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(fetch.viewSource(url("/silent")), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(6));
}

TEST_F(HttpFetchTest, BodiesOverTwoMebibytesFail)
{
    HttpFetch fetch;
    const std::optional<QString> atCap = fetch.viewSource(url("/cap"));
    ASSERT_TRUE(atCap);
    EXPECT_EQ(atCap->size(), 2 * 1024 * 1024);
    EXPECT_EQ(fetch.viewSource(url("/over-cap")), std::nullopt);
    EXPECT_EQ(fetch.viewSource(url("/endless")), std::nullopt);
    EXPECT_LT(streamed.load(), 64u * 1024 * 1024) << "the transfer stopped at the cap";
}

TEST_F(HttpFetchTest, FollowsAtMostThreeRedirects)
{
    HttpFetch fetch;
    EXPECT_TRUE(fetch.viewSource(url("/hop2"))) << "three redirects";
    EXPECT_EQ(fetch.viewSource(url("/hop3")), std::nullopt) << "four redirects";
    EXPECT_EQ(fetch.viewSource(url("/loop")), std::nullopt);
}

TEST_F(HttpFetchTest, UnreachableOrMalformedAddressesFail)
{
    const QString dead = url("/list=sh600000");
    server.stop();
    HttpFetch fetch;
    EXPECT_EQ(fetch.viewSource(dead), std::nullopt);
    EXPECT_EQ(fetch.viewSource(QStringLiteral("http://")), std::nullopt);
    EXPECT_EQ(fetch.viewSource(QStringLiteral("file:///etc/hostname")), std::nullopt);
}

} // namespace
