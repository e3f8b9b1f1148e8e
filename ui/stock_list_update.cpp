#include "ui/stock_list_update.h"

#include "quotes/http_fetch.h"
#include "quotes/pinyin_initials.h"
#include "quotes/stock_list_refresh.h"
#include "ui/form1.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <memory>

namespace quorvane {

namespace {

void useAndSave(Form1 &form, QList<StockListEntry> entries)
{
    // A lost write is silent: the list is still used for this run.
    SaveStockList(form.folders().userStockListPath(), entries);
    form.stockListTable.setEntries(std::move(entries));
}

} // namespace

void UpdateStockList_Click(Form1 &form)
{
    QProgressDialog dialog(QStringLiteral("正在更新股票列表……"), QStringLiteral("取消"), 0, 0, &form);
    dialog.setWindowTitle(QStringLiteral("更新股票列表"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setValue(0);

    std::atomic<bool> cancelled = false;
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&cancelled] { cancelled = true; });

    // The worker gets copies: the window's settings may change while it runs.
    // The failover is made to be shared between threads.
    const QList<StockListEntry> list = form.stockListTable.entries();
    const QList<QuoteService> services = form.quoteServices();
    QuoteFailover &failover = form.quoteFailover;
    qsizetype urlPrefixLength = 0; // "http://" + host + "/list=", the longer path
    for (const QuoteService &service : services)
        urlPrefixLength = std::max(urlPrefixLength, 13 + service.host.trimmed().size());
    StockListRefresh refresh;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        auto fetchNames = [&](const QStringList &codes) -> std::optional<QuoteNames> {
            if (const auto texts = failover.lookUp(services, codes, FetchOptions()))
                return NamesOfQuoteTexts(*texts);
            return std::nullopt;
        };
        auto progress = [&](int done, int total) {
            QMetaObject::invokeMethod(&dialog, [&dialog, done, total] {
                dialog.setMaximum(total);
                dialog.setValue(done);
            }, Qt::QueuedConnection);
            return !cancelled;
        };
        refresh = RefreshStockList(list, fetchNames, urlPrefixLength, progress);
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(); // a cancel closes the dialog at once; the batch in flight ends within its time limit
    worker->wait();
    const bool userCancelled = cancelled; // closing the dialog counts as a cancel too
    dialog.close();

    if (userCancelled || refresh.status == StockListRefresh::Status::Cancelled)
        return;
    if (refresh.status == StockListRefresh::Status::NothingFetched) {
        form.platform().messageBoxes->plain(&form, QStringLiteral("无法更新股票列表，请检查网络是否正常连接！"));
        return;
    }
    useAndSave(form, refresh.entries);
    form.platform().messageBoxes->plain(&form, RefreshMessage(refresh));
}

void LearnStock(Form1 &form, const QString &code, const QString &serviceName)
{
    QString name = ListName(serviceName);
    name = name.mid(TradingDayPrefixLength(name));
    const bool digits = std::all_of(code.cbegin(), code.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!digits || code.size() != 6 || name.isEmpty() || form.stockListTable.contains(code))
        return;
    StockListTable table = form.stockListTable;
    table.add({code, name, PinyinInitials(name)});
    useAndSave(form, table.entries());
}

} // namespace quorvane
