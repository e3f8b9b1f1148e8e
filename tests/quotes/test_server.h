#pragma once

#include <httplib.h>

#include <chrono>
#include <thread>

namespace quorvane::test {

// An HTTP server on 127.0.0.1 at a free port, running on its own thread for
// the life of the object.
class TestServer
{
public:
    httplib::Server server;

    // Call after the handlers are set.
    bool start()
    {
        m_port = server.bind_to_any_port("127.0.0.1");
        if (m_port <= 0)
            return false;
        m_thread = std::thread([this] { server.listen_after_bind(); });
        for (int i = 0; i < 500 && !server.is_running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return server.is_running();
    }

    void stop()
    {
        server.stop();
        if (m_thread.joinable())
            m_thread.join();
    }

    ~TestServer() { stop(); }

    int port() const { return m_port; }

private:
    int m_port = 0;
    std::thread m_thread;
};

} // namespace quorvane::test
