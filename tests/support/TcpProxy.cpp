#include "tests/support/TcpProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace testsupport {

TcpProxy::TcpProxy(int targetPort) : m_targetPort(targetPort)
{
    m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a) || ::listen(m_listen, 16))
        throw std::runtime_error("proxy: cannot listen");
    socklen_t len = sizeof a;
    ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
    m_port = ntohs(a.sin_port);
    m_thread = std::thread([this] { acceptLoop(); });
}

TcpProxy::~TcpProxy()
{
    m_stop = true;
    ::shutdown(m_listen, SHUT_RDWR);
    ::close(m_listen);
    m_thread.join();
}

void TcpProxy::acceptLoop()
{
    std::vector<std::thread> sessions;
    while (!m_stop) {
        pollfd p{m_listen, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        const int client = ::accept(m_listen, nullptr, nullptr);
        if (client < 0) continue;
        if (m_refusing) {
            ::close(client);
            continue;
        }
        sessions.emplace_back([this, client] { pipe(client); });
    }
    for (auto& t : sessions)
        t.join();
}

void TcpProxy::pipe(int client)
{
    const int server = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(uint16_t(m_targetPort));
    if (::connect(server, reinterpret_cast<sockaddr*>(&a), sizeof a)) {
        ::close(client);
        ::close(server);
        return;
    }
    char buf[65536];
    bool cutting = false;
    while (!m_stop) {
        pollfd fds[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
        if (::poll(fds, 2, 100) <= 0) continue;
        if (fds[0].revents) {
            const ssize_t n = ::read(client, buf, sizeof buf);
            if (n <= 0) break;
            const int cut = m_cutCommand;
            if (cut >= 0 && n > 4 && uint8_t(buf[4]) == cut) {
                m_cutCommand = -1;
                cutting = true;
            }
            if (::write(server, buf, size_t(n)) != n) break;
        }
        if (fds[1].revents) {
            const ssize_t n = ::read(server, buf, sizeof buf);
            if (n <= 0) break;
            if (cutting) { // the command ran; its answer is lost with the session
                ++m_cuts;
                break;
            }
            if (::write(client, buf, size_t(n)) != n) break;
        }
    }
    ::close(client);
    ::close(server);
}

} // namespace testsupport
