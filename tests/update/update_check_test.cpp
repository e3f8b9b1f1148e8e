#include "update/update_check.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(UpdateCheckTest, VersionPageReadAsADecimalNumberAndDueAfterMoreThanSevenDaysOfWholeMinutes)
{
    using enum PublishedVersion;
    const std::pair<const char *, PublishedVersion> pages[] = {
        {"1.6", Newer}, {" 2\r\n", Newer}, {"1.5", NotNewer}, {"1.10", NotNewer} /* the number 1.1 */,
        {"1.4", NotNewer}, {"", Unknown}, {"1.6.1", Unknown}, {"<html><body>404 Not Found</body></html>", Unknown}};
    for (const auto &[page, expected] : pages)
        EXPECT_EQ(ComparePublishedVersion(QString::fromUtf8(page), QStringLiteral("1.5")), expected) << page;

    // Exactly 10080 minutes is not yet due, one minute boundary more is (a second later); the clock set back is not.
    const QDateTime last(QDate(2026, 12, 1), QTime(9, 30, 59));
    const std::pair<QDateTime, bool> times[] = {
        {last.addDays(7), false}, {QDateTime(QDate(2026, 12, 8), QTime(9, 31, 0)), true},
        {QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0)), false}, {last.addDays(400), true}, {last.addSecs(-60), false}};
    for (const auto &[now, due] : times)
        EXPECT_EQ(IsUpdateCheckDue(last, now), due) << now.toString().toStdString();
}
