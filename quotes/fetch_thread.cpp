#include "quotes/fetch_thread.h"

namespace quorvane {

FetchThread::FetchThread(QObject *parent) : QObject(parent), m_worker(new QObject)
{
    m_thread.setObjectName(QStringLiteral("FetchThread"));
    m_worker->moveToThread(&m_thread);
    m_thread.start();
}

FetchThread::~FetchThread()
{
    cancel();
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

} // namespace quorvane
