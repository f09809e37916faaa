#include "net/NetModule.h"

#include <QTcpSocket>

namespace {

class QtNet final : public net::Module {
public:
    QIODevice* connectTo(const QString& host, quint16 port, QObject* owner,
                         net::Events events) override {
        auto* socket = new QTcpSocket(owner);
        QObject::connect(socket, &QTcpSocket::connected, owner, std::move(events.connected));
        QObject::connect(socket, &QTcpSocket::readyRead, owner, std::move(events.readable));
        QObject::connect(socket, &QTcpSocket::disconnected, owner, std::move(events.closed));
        QObject::connect(
            socket, &QTcpSocket::errorOccurred, owner,
            [socket, failed = std::move(events.failed)](QAbstractSocket::SocketError error) {
                failed(socket->errorString(), error == QAbstractSocket::RemoteHostClosedError);
            });
        socket->connectToHost(host, port);
        return socket;
    }

    void abort(QIODevice* connection) override {
        if (auto* socket = qobject_cast<QTcpSocket*>(connection))
            socket->abort();
    }
};

} // namespace

extern "C" Q_DECL_EXPORT net::Module* pramelNetModule() {
    static QtNet module;
    return &module;
}
