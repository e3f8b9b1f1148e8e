#include "update/update_check.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace quorvane;

namespace {

TEST(UpdateCheckTest, VersionPageReadAsADecimalNumber)
{
    const struct
    {
        const char *page;
        PublishedVersion expected;
    } cases[] = {
        {"1.6", PublishedVersion::Newer},
        {" 2\r\n", PublishedVersion::Newer},
        {"1.5", PublishedVersion::NotNewer},
        {"1.50", PublishedVersion::NotNewer},
        {"1.10", PublishedVersion::NotNewer}, // the number 1.1
        {"1.4", PublishedVersion::NotNewer},
        {"", PublishedVersion::Unknown},
        {"1.6.1", PublishedVersion::Unknown},
        {"<html><body>404 Not Found</body></html>", PublishedVersion::Unknown},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ComparePublishedVersion(QString::fromUtf8(c.page), QStringLiteral("1.5")), c.expected) << c.page;
}

TEST(UpdateCheckTest, DueAfterMoreThanSevenDaysOfWholeMinutes)
{
    const QDateTime last(QDate(2026, 12, 1), QTime(9, 30, 59));
    const struct
    {
        QDateTime now;
        bool due;
    } cases[] = {
        {last.addDays(7), false},                         // exactly 10080 minutes
        {QDateTime(QDate(2026, 12, 8), QTime(9, 31, 0)), true}, // one boundary more, one second later
        {QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0)), false},
        {last.addDays(400), true},
        {last.addSecs(-60), false}, // the clock set back
        {last.addYears(-30), false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsUpdateCheckDue(last, c.now), c.due) << c.now.toString().toStdString();
    EXPECT_EQ(MinutesBetween(last, QDateTime(QDate(2026, 12, 1), QTime(9, 31, 0))), 1);
    EXPECT_EQ(MinutesBetween(last, QDateTime(QDate(2026, 12, 1), QTime(9, 29, 59))), -1);
}

TEST(UpdateCheckTest, PagesOnTheConfiguredHostOnly)
{
    EXPECT_EQ(VersionPageUrl(QStringLiteral(" example.test:8080 ")), "http://example.test:8080/StockVersion.html");
    EXPECT_EQ(DownloadPageUrl(QStringLiteral("example.test")), "http://example.test/ark/index12.asp");
    EXPECT_EQ(VersionPageUrl(QStringLiteral("  ")), QString());
    EXPECT_EQ(FetchPublishedVersion(QString(), QStringLiteral("1.5")), PublishedVersion::Unknown);
}

TEST(UpdateCheckTest, FetchesTheVersionPageAndGivesUpAtTheTimeLimit)
{
    std::atomic<bool> released{false};
    std::atomic<int> requests{0};
    httplib::Server server;
    server.Get("/StockVersion.html", [&](const httplib::Request &, httplib::Response &response) {
        if (++requests == 1)
            response.set_content("1.6", "text/html");
        else
            while (!released) // accepted, never answered until the test ends
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread thread([&] { server.listen_after_bind(); });
    while (!server.is_running())
        std::this_thread::yield();
    const QString host = QStringLiteral("127.0.0.1:%1").arg(port);

    FetchOptions options;
    options.connectTimeoutMs = options.totalTimeoutMs = 1000;
    EXPECT_EQ(FetchPublishedVersion(host, QStringLiteral("1.5"), options), PublishedVersion::Newer);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(FetchPublishedVersion(host, QStringLiteral("1.5"), options), PublishedVersion::Unknown);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(6));

    released = true;
    server.stop();
    thread.join();
}

} // namespace
