#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace swr::test {

// An HTTP server on 127.0.0.1 only, on a free port, serving one connection at a time on a
// thread of its own (the client under test blocks while it waits). Each request is
// recorded; once its headers are in, the server sends the response and closes, or with
// silent says nothing and keeps the line open until the client goes.
class LocalHttpServer {
public:
    explicit LocalHttpServer(QByteArray answer = {}) : response(std::move(answer))
    {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        if (listen_ < 0 || ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0
            || ::listen(listen_, 8) != 0 || ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &length) != 0)
            return;
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LocalHttpServer() { close(); }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    quint16 port() const { return port_; }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1/").arg(port()); }
    // Stops serving and closes the port.
    void close()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (listen_ >= 0)
            ::close(listen_);
        listen_ = -1;
    }
    QList<QByteArray> requests() const
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

    QByteArray response;
    std::atomic<bool> silent = false;

private:
    // Waits for fd to become readable, looking every 20 ms whether to stop.
    bool Readable(int fd) const
    {
        while (!stop_) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0)
                return true;
        }
        return false;
    }
    void Serve()
    {
        while (Readable(listen_)) {
            const int c = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0)
                continue;
            qsizetype at = 0;
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                requests_.append(QByteArray());
                at = requests_.size() - 1;
            }
            char chunk[4096];
            bool answered = false;
            while (Readable(c)) {
                const ssize_t n = ::recv(c, chunk, sizeof chunk, 0);
                if (n <= 0)
                    break;
                bool whole = false;
                {
                    const std::lock_guard<std::mutex> lock(mutex_);
                    requests_[at].append(chunk, n);
                    whole = requests_[at].contains("\r\n\r\n");
                }
                if (!whole || silent || answered)
                    continue;
                answered = true;
                for (qsizetype sent = 0; sent < response.size();) {
                    const ssize_t w = ::send(c, response.constData() + sent, size_t(response.size() - sent), MSG_NOSIGNAL);
                    if (w <= 0)
                        break;
                    sent += w;
                }
                break;
            }
            ::close(c);
        }
    }

    int listen_ = -1;
    quint16 port_ = 0;
    std::atomic<bool> stop_ = false;
    mutable std::mutex mutex_;
    QList<QByteArray> requests_;
    std::thread thread_;
};

} // namespace swr::test
