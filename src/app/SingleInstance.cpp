#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QUrl>

#include <memory>
#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
// A request is a line "open <file URL>" for each file to open, then the line
// "activate"; the first instance answers "ok". File URLs keep a name's
// line breaks and odd bytes out of the line.
const QByteArray activateRequest = "activate\n";
const QByteArray openPrefix = "open ";
} // namespace

SingleInstance::SingleInstance(QString dataFolder, QObject* parent)
    : QObject(parent)
    , dataFolder_(std::move(dataFolder)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockFilePath() const {
    return dataFolder_ + QStringLiteral("/Pramel.lock");
}

QString SingleInstance::serverName() const {
    // Socket names are short paths in /tmp: a digest of the folder keeps
    // stores of different users and folders apart.
    const QByteArray key = QCryptographicHash::hash(QDir(dataFolder_).absolutePath().toUtf8(),
                                                    QCryptographicHash::Sha256)
                               .toHex()
                               .left(24);
    return QStringLiteral("pramel-") + QString::fromLatin1(key);
}

bool SingleInstance::heldByALiveProcess() const {
    // QLockFile also holds a flock() on the file for as long as its process
    // lives; the kernel lets it go when the process ends, however it ends.
    // So a lock nobody holds so was left by a crash, even when its process
    // id has since been given to another program (another Pramel, on
    // another data folder, looks the same to QLockFile).
    const int fd = ::open(QFile::encodeName(lockFilePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno != ENOENT;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd); // lets go of the probe's own lock too
    return held;
}

SingleInstance::Claim SingleInstance::acquire() {
    if (!QDir().mkpath(dataFolder_))
        return Claim::taken;
    lock_ = std::make_unique<QLockFile>(lockFilePath());
    // Held for the whole run: never stale by age, only when its process is gone.
    lock_->setStaleLockTime(0);
    for (int attempt = 0; !lock_->tryLock(100); ++attempt) {
        if (lock_->error() != QLockFile::LockFailedError) {
            lock_.reset(); // the folder cannot be written: the store will say so
            return Claim::taken;
        }
        if (attempt > 0 || heldByALiveProcess()) {
            lock_.reset();
            return Claim::heldByAnother;
        }
        // A lock left by a crash: taken over, unless it cannot be removed.
        if (!QFile::remove(lockFilePath())) {
            lock_.reset();
            return Claim::folderNotWritable;
        }
    }
    listen();
    return Claim::taken;
}

void SingleInstance::listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock: a socket left by an instance that died is stale.
    QLocalServer::removeServer(serverName());
    if (!server_->listen(serverName()))
        return;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            auto files = std::make_shared<QStringList>();
            connect(socket, &QLocalSocket::readyRead, this, [this, socket, files] {
                while (socket->canReadLine()) {
                    const QByteArray line = socket->readLine();
                    if (line.startsWith(openPrefix)) {
                        const QUrl url = QUrl::fromEncoded(line.mid(openPrefix.size()).trimmed());
                        if (url.isLocalFile())
                            files->append(url.toLocalFile());
                        continue;
                    }
                    if (line != activateRequest)
                        continue;
                    Q_EMIT activationRequested();
                    if (!files->isEmpty())
                        Q_EMIT openRequested(std::exchange(*files, {}));
                    socket->write("ok\n");
                    socket->flush();
                }
            });
        }
    });
}

bool SingleInstance::activateRunning(const QStringList& files, int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    for (const QString& file : files)
        socket.write(openPrefix + QUrl::fromLocalFile(file).toEncoded() + '\n');
    socket.write(activateRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine() == "ok\n";
}
