#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>
#include <QUrl>

#include <cstddef>
#include <cstring>
#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// A request is a line "open <file URL>" for each file to open, then the line
// "activate"; the first instance answers "ok". File URLs keep a name's
// line breaks and odd bytes out of the line.
const QByteArray activateRequest = "activate\n";
const QByteArray openPrefix = "open ";
const QByteArray okAnswer = "ok\n";
// More than any list of files a file manager hands over: a peer that sends
// more is not a second start.
constexpr qsizetype longestRequest = 4 * 1024 * 1024;

// The name in the abstract namespace: a NUL, then the name; no file.
socklen_t abstractAddress(const QByteArray& name, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    const size_t size = qMin(size_t(name.size()), sizeof(address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, name.constData(), size);
    return socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size);
}

// The user of the process at the socket's other end; none (-1) unknown.
uid_t peerUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return uid_t(-1);
    return peer.uid;
}

// Both of a socket's time limits, for the blocking calls of a second start.
void limitWaits(int fd, int ms) {
    timeval limit{};
    limit.tv_sec = qMax(ms, 1) / 1000;
    limit.tv_usec = (qMax(ms, 1) % 1000) * 1000;
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
}

struct SocketCloser {
    int fd;
    ~SocketCloser() { ::close(fd); }
};

} // namespace

// One second start's connection to the running instance, read as its
// lines come; ends with the connection.
class SingleInstance::Request : public QObject {
public:
    Request(int fd, SingleInstance* instance)
        : QObject(instance)
        , fd_(fd)
        , instance_(instance)
        , notifier_(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
        connect(notifier_, &QSocketNotifier::activated, this, &Request::read);
    }
    ~Request() override {
        delete notifier_;
        ::close(fd_);
    }

private:
    void read() {
        bool ended = false;
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
            if (got > 0) {
                received_.append(buffer, got);
                if (received_.size() <= longestRequest)
                    continue;
            } else if (got < 0 && errno == EINTR) {
                continue;
            } else if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                break;
            }
            ended = true;
            break;
        }
        // What the lines start (a window brought up, files opened) may wait
        // in an event loop of its own: nothing more is read meanwhile.
        notifier_->setEnabled(false);
        answerLines();
        if (ended || received_.size() > longestRequest)
            deleteLater();
        else
            notifier_->setEnabled(true);
    }

    void answerLines() {
        for (qsizetype end = received_.indexOf('\n'); end >= 0; end = received_.indexOf('\n')) {
            const QByteArray line = received_.left(end + 1);
            received_.remove(0, end + 1);
            if (line.startsWith(openPrefix)) {
                const QUrl url = QUrl::fromEncoded(line.mid(openPrefix.size()).trimmed());
                if (url.isLocalFile())
                    files_.append(url.toLocalFile());
                continue;
            }
            if (line != activateRequest)
                continue;
            Q_EMIT instance_->activationRequested();
            if (!files_.isEmpty())
                Q_EMIT instance_->openRequested(std::exchange(files_, {}));
            // Three bytes into an empty socket buffer: never waits.
            const ssize_t sent = ::send(fd_, okAnswer.constData(), size_t(okAnswer.size()),
                                        MSG_NOSIGNAL | MSG_DONTWAIT);
            Q_UNUSED(sent);
        }
    }

    int fd_;
    SingleInstance* instance_;
    QSocketNotifier* notifier_;
    QByteArray received_;
    QStringList files_;
};

SingleInstance::SingleInstance(QString dataFolder, QObject* parent)
    : QObject(parent)
    , dataFolder_(std::move(dataFolder)) {}

SingleInstance::~SingleInstance() {
    release();
}

QString SingleInstance::lockFilePath() const {
    return dataFolder_ + QStringLiteral("/Pramel.lock");
}

QByteArray SingleInstance::socketName() const {
    // A digest of the folder keeps stores apart; the user, users.
    const QByteArray key = QCryptographicHash::hash(QDir(dataFolder_).absolutePath().toUtf8(),
                                                    QCryptographicHash::Sha256)
                               .toHex()
                               .left(24);
    return "pramel-" + QByteArray::number(quint64(::getuid())) + '-' + key;
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
    delete server_;
    server_ = nullptr;
    if (serverFd_ >= 0)
        ::close(serverFd_);
    serverFd_ = -1;
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
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    sockaddr_un address{};
    const socklen_t size = abstractAddress(socketName(), address);
    // A name is freed with the process that bound it: taken, it is another
    // user's doing, and second starts are then not answered.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), size) != 0 ||
        ::listen(fd, 16) != 0) {
        ::close(fd);
        return;
    }
    serverFd_ = fd;
    server_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(server_, &QSocketNotifier::activated, this, &SingleInstance::acceptWaiting);
}

void SingleInstance::acceptWaiting() {
    for (;;) {
        const int fd = ::accept4(serverFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // none waiting, or none can be taken now
        }
        if (peerUser(fd) != ::getuid()) {
            ::close(fd);
            continue;
        }
        new Request(fd, this);
    }
}

bool SingleInstance::activateRunning(const QStringList& files, int timeoutMs) const {
    sockaddr_un address{};
    const socklen_t size = abstractAddress(socketName(), address);
    // The running instance listens once its window is up: until then there
    // is no socket to connect to, and it is asked again.
    const QDeadlineTimer deadline(timeoutMs);
    int fd = -1;
    for (;;) {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), size) == 0)
            break;
        ::close(fd);
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    const SocketCloser closer{fd};
    // Only a Pramel of this user is asked.
    if (peerUser(fd) != ::getuid())
        return false;
    limitWaits(fd, timeoutMs);
    QByteArray request;
    for (const QString& file : files)
        request += openPrefix + QUrl::fromLocalFile(file).toEncoded() + '\n';
    request += activateRequest;
    for (qsizetype at = 0; at < request.size();) {
        const ssize_t sent =
            ::send(fd, request.constData() + at, size_t(request.size() - at), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        at += sent;
    }
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() < 64) {
        char buffer[64];
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        answer.append(buffer, got);
    }
    return answer == okAnswer;
}
