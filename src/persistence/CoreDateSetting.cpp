#include "persistence/CoreDateSetting.h"

#include "base/FatalError.h"
#include "persistence/StoreError.h"
#include "persistence/StoreUnitOfWork.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <QStandardPaths>
#include <QThread>

#include <atomic>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CoreDateSetting::CoreDateSetting()
    : storePath_(defaultStorePath()) {}

CoreDateSetting::CoreDateSetting(QString storePath)
    : storePath_(std::move(storePath)) {}

namespace {

// Opening the store costs more than most handlers' work (the schema read and
// brought up to date, the pragmas set): about 2 ms of every Return and every
// undo. The GUI thread, which opens it for every step, keeps its last
// connection for the next setting. Other threads open their own each time,
// so that no connection outlives the work of a thread that the quit waits on.
struct KeptConnection {
    QString path;
    std::unique_ptr<StoreConnection> connection;
    // Held open beside the connection: the file's inode cannot be reused
    // while it is, so the same device and inode at the path mean the same file.
    int fileHandle = -1;
    quint64 generation = 0;
    // The structure the connection was opened on, brought up to date: one
    // changed since (another program's or a test's doing) is opened anew.
    qint64 schemaVersion = -1;
    bool inUse = false;

    KeptConnection() = default;
    KeptConnection(const KeptConnection&) = delete;
    KeptConnection& operator=(const KeptConnection&) = delete;
    ~KeptConnection() { clear(); }

    void clear() {
        connection.reset();
        if (fileHandle >= 0)
            ::close(fileHandle);
        fileHandle = -1;
        path.clear();
        inUse = false;
    }
};

thread_local KeptConnection keptConnection;
std::atomic<quint64> keptGeneration{0};

bool onGuiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

qint64 schemaVersionOf(StoreConnection& connection) {
    try {
        StoreStatement query(connection.handle(), "PRAGMA schema_version");
        return query.next() ? query.integer(0) : -1;
    } catch (const StoreError&) {
        return -1;
    }
}

bool stillTheFile(int handle, const QString& path) {
    struct stat held {};
    struct stat now {};
    return ::fstat(handle, &held) == 0 && held.st_nlink > 0 &&
           ::stat(QFile::encodeName(path).constData(), &now) == 0 && held.st_dev == now.st_dev &&
           held.st_ino == now.st_ino;
}

StoreConnection* borrowKept(const QString& path) {
    if (!keptConnection.connection || keptConnection.inUse)
        return nullptr;
    if (keptConnection.path != path || keptConnection.generation != keptGeneration.load() ||
        !stillTheFile(keptConnection.fileHandle, path) ||
        schemaVersionOf(*keptConnection.connection) != keptConnection.schemaVersion) {
        keptConnection.clear();
        return nullptr;
    }
    keptConnection.inUse = true;
    try {
        keptConnection.connection->setMapped(true);
    } catch (const StoreError&) {
        keptConnection.clear();
        return nullptr;
    }
    return keptConnection.connection.get();
}

// Takes a connection just opened into the thread's keeping, when there is
// room; returns it, or null when the caller keeps owning it.
StoreConnection* keepOpened(std::unique_ptr<StoreConnection>& opened, const QString& path) {
    if (!onGuiThread() || keptConnection.connection)
        return nullptr;
    const int handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (handle < 0)
        return nullptr;
    keptConnection.path = path;
    keptConnection.connection = std::move(opened);
    keptConnection.fileHandle = handle;
    keptConnection.generation = keptGeneration.load();
    keptConnection.schemaVersion = schemaVersionOf(*keptConnection.connection);
    keptConnection.inUse = true;
    return keptConnection.connection.get();
}

void giveBackKept(StoreConnection* connection) {
    if (keptConnection.connection.get() != connection)
        return;
    keptConnection.inUse = false;
    // A transaction left open (a failure midway) is no state to hand on.
    if (!sqlite3_get_autocommit(connection->handle()) ||
        keptConnection.generation != keptGeneration.load()) {
        keptConnection.clear();
        return;
    }
    try {
        connection->setMapped(false);
    } catch (const StoreError&) {
        keptConnection.clear();
    }
}

} // namespace

CoreDateSetting::~CoreDateSetting() {
    if (borrowed_)
        giveBackKept(borrowed_);
}

void CoreDateSetting::forgetKeptConnections() {
    ++keptGeneration;
    if (!keptConnection.inUse)
        keptConnection.clear();
}

QString CoreDateSetting::defaultStorePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder + QStringLiteral("/TestModel.sqlite");
}

namespace {
bool firstOpenInProcess(const QString& path) {
    static std::mutex mutex;
    static QSet<QString> opened;
    std::lock_guard lock(mutex);
    if (opened.contains(path))
        return false;
    opened.insert(path);
    return true;
}
} // namespace

QString CoreDateSetting::damagedStoreAdvice() {
    return QStringLiteral(
        "Quit Pramel and put back a copy of the file made while Pramel was closed, or move the "
        "file aside to start with an empty store and restore your words from an exported CSV "
        "file.");
}

void CoreDateSetting::checkLater(const QString& path) {
    firstOpenInProcess(path);
}

QString CoreDateSetting::checkNow(const QString& path) {
    QString message;
    try {
        // Read a page at a time (not mapped, as every connection opens):
        // mapped, the whole file it reads would count in the program's
        // memory until the check ends.
        StoreConnection connection(path);
        const QString check = connection.quickCheck();
        if (check != QStringLiteral("ok"))
            message = damagedMessage(check, path);
    } catch (const StoreError& error) {
        // The first open has already read the store and reported what kept it
        // from opening; only damage found now ends the program (a lock held
        // by another connection, or a store gone meanwhile, is no damage).
        const int code = error.code & 0xff;
        if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB)
            message = QStringLiteral("Unresolved error ") + error.message();
    }
    return message;
}

QString CoreDateSetting::damagedMessage(const QString& damage, const QString& path) {
    return QStringLiteral("Unresolved error The store is damaged (%1), {path: %2}. %3")
        .arg(damage, path, damagedStoreAdvice());
}

StoreConnection& CoreDateSetting::persistentContainer() {
    if (container_)
        return *container_;
    if (borrowed_)
        return *borrowed_;
    if (StoreConnection* unit = StoreUnitOfWork::current(storePath_))
        return *unit;
    if ((borrowed_ = borrowKept(storePath_)))
        return *borrowed_;
    const QString folder = QFileInfo(storePath_).absolutePath();
    if (!QDir().mkpath(folder)) {
        fatalError(QStringLiteral("Pramel/CoreDateSetting"),
                   QStringLiteral("Unresolved error The folder of the store cannot be made, "
                                  "{path: %1}")
                       .arg(folder));
    }
    QString damage;
    try {
        container_ = std::make_unique<StoreConnection>(storePath_);
        // The first open of a store in this process checks its structure, so
        // that a damaged file is told at start, not at the first keystroke.
        if (firstOpenInProcess(storePath_)) {
            const QString check = container_->quickCheck();
            if (check != QStringLiteral("ok"))
                damage = check;
        }
    } catch (const StoreError& error) {
        fatalError(QStringLiteral("Pramel/CoreDateSetting"),
                   QStringLiteral("Unresolved error ") + error.message());
    }
    if (!damage.isEmpty())
        fatalError(QStringLiteral("Pramel/CoreDateSetting"), damagedMessage(damage, storePath_));
    if ((borrowed_ = keepOpened(container_, storePath_)))
        return *borrowed_;
    return *container_;
}
