#pragma once
// A loopback TCP proxy in front of a database server, able to refuse connections or to cut a
// session right after forwarding a chosen MySQL command (its reply never reaches the client).
#include <atomic>
#include <cstdint>
#include <thread>

namespace testsupport {

class TcpProxy
{
public:
    explicit TcpProxy(int targetPort);
    ~TcpProxy();
    TcpProxy(const TcpProxy&) = delete;
    TcpProxy& operator=(const TcpProxy&) = delete;

    [[nodiscard]] int port() const { return m_port; }
    /// While set, new connections are closed at once (the server looks unreachable).
    void setRefusing(bool refusing) { m_refusing = refusing; }
    /// Arms a cut: the next client packet whose command byte is COMMAND is forwarded, the
    /// server's reply is read and dropped, and the session is closed.
    void cutAfterCommand(uint8_t command) { m_cutCommand = command; }
    [[nodiscard]] int cuts() const { return m_cuts; }

    static constexpr uint8_t kQuery = 0x03;
    static constexpr uint8_t kStmtExecute = 0x17;

private:
    void acceptLoop();
    void pipe(int client);

    int m_targetPort;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_refusing{false};
    std::atomic<int> m_cutCommand{-1};
    std::atomic<int> m_cuts{0};
    std::thread m_thread;
};

} // namespace testsupport
