#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QUrl>

#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

SingleInstance::~SingleInstance() {
    release();
}

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

SingleInstance::Claim SingleInstance::acquire() {
    if (!QDir().mkpath(dataFolder_))
        return Claim::taken;
    const QByteArray path = QFile::encodeName(lockFilePath());
    for (;;) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            // One left by a crash that cannot be opened any more (a live
            // Pramel's would open, and flock would tell): the folder is the
            // trouble. With none, the store says why it cannot be used.
            return QFile::exists(lockFilePath()) ? Claim::folderNotWritable : Claim::taken;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool held = errno == EWOULDBLOCK;
            ::close(fd);
            // A file system without locks cannot tell one Pramel per store:
            // the store is used as it would be without them.
            return held ? Claim::heldByAnother : Claim::taken;
        }
        // The last holder removes the file as it ends, perhaps between this
        // open and this flock: the lock is then on a file nobody else finds,
        // and the one by that name is tried again.
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            lockFd_ = fd;
            break;
        }
        ::close(fd);
    }
    // A lock left by a crash in a folder that has since become read-only:
    // the store could not be written there.
    if (::access(QFile::encodeName(dataFolder_).constData(), W_OK) != 0) {
        release();
        return Claim::folderNotWritable;
    }
    // The file names its holder for whoever looks; never synced, as the
    // lock is the kernel's, not the file's.
    const QByteArray holder = QByteArray::number(qint64(::getpid())) + "\n";
    const bool noted = ::ftruncate(lockFd_, 0) == 0 &&
                       ::write(lockFd_, holder.constData(), size_t(holder.size())) == holder.size();
    Q_UNUSED(noted);
    return Claim::taken;
}

void SingleInstance::release() {
    if (lockFd_ < 0)
        return;
    // Removed while still held: a start that opened it meanwhile finds the
    // name gone once it has the lock, and makes its own.
    ::unlink(QFile::encodeName(lockFilePath()).constData());
    ::close(lockFd_);
    lockFd_ = -1;
}

void SingleInstance::listen() {
    if (server_ || lockFd_ < 0)
        return;
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
    // The running instance listens once its window is up: until then there
    // is no socket to connect to, and it is asked again.
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        socket.connectToServer(serverName());
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
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
