#pragma once

#include <QString>

#include <functional>

class QIODevice;
class QObject;

// The program's TCP connections (questions to a DICT server) go through
// QtNetwork in a module of its own, libpramel-net.so, which the program
// loads the first time it asks: QtNetwork and the libraries behind it
// (Kerberos, libproxy) are then not loaded at every start. The program and
// the module share this interface alone, and neither links the other.
namespace net {

// What a connection tells, each in its owner's context.
struct Events {
    std::function<void()> connected;
    std::function<void()> readable; // bytes to read
    std::function<void()> closed;   // the other end hung up
    // The connection failed or broke, and why; byPeer: the other end
    // closed it.
    std::function<void(const QString& why, bool byPeer)> failed;
};

class Module {
public:
    virtual ~Module() = default;

    // A connection being made to host at port (a name or an address), a
    // child of owner: disconnecting it from owner silences its events.
    virtual QIODevice* connectTo(const QString& host, quint16 port, QObject* owner,
                                 Events events) = 0;
    // Drops a connection at once, unsent bytes and all.
    virtual void abort(QIODevice* connection) = 0;
};

} // namespace net

// The module's one entry point, resolved by name.
extern "C" net::Module* pramelNetModule();
