#pragma once

// A thread of its own for the blocking fetches the window must not wait for:
// jobs run there one after another, each with options that carry the thread's
// cancel, and each result comes back as a queued call on the thread that owns
// the FetchThread. A cancel ends the transfer in flight at once and makes every
// later fetch fail at its start; results that arrive after it are dropped.

#include "quotes/http_fetch.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>

namespace quorvane {

class FetchThread : public QObject
{
public:
    explicit FetchThread(QObject *parent = nullptr);
    // Cancels and waits for the thread, which the cancel has freed.
    ~FetchThread() override;

    template <typename Result>
    void run(std::function<Result(const FetchOptions &)> job, std::function<void(Result)> done)
    {
        FetchOptions options;
        options.cancel = m_cancel;
        QMetaObject::invokeMethod(m_worker, [this, job = std::move(job), done = std::move(done), options]() mutable {
            auto result = std::make_shared<Result>(job(options));
            // Delivered through this object, so nothing comes after it is gone.
            QMetaObject::invokeMethod(
                this,
                [this, done = std::move(done), result] {
                    if (!m_cancel->isCancelled())
                        done(std::move(*result));
                },
                Qt::QueuedConnection);
        }, Qt::QueuedConnection);
    }

    void cancel() { m_cancel->cancel(); }

private:
    QThread m_thread;
    QObject *m_worker;
    std::shared_ptr<FetchCancel> m_cancel = std::make_shared<FetchCancel>();
};

} // namespace quorvane
