#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

namespace swr::test {

// An HTTP server on 127.0.0.1 only, on a free port, serving in the thread's event loop
// (the client's wait runs it). Each request is recorded; once its headers are in, the
// server sends response and closes, or with silent says nothing and keeps the line open.
class LocalHttpServer {
public:
    explicit LocalHttpServer(QByteArray answer = {}) : response(std::move(answer))
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                requests.append(QByteArray());
                const qsizetype at = requests.size() - 1;
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s, at] {
                    requests[at] += s->readAll();
                    if (silent || !requests[at].contains("\r\n\r\n"))
                        return;
                    s->write(response);
                    s->disconnectFromHost();
                });
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    quint16 port() const { return server_.serverPort(); }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1/").arg(port()); }
    void close() { server_.close(); }

    QByteArray response;
    bool silent = false;
    QList<QByteArray> requests;

private:
    QTcpServer server_;
};

} // namespace swr::test
