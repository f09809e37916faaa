#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QSocketNotifier;

// One Pramel per store. The first instance holds a lock file in the data
// folder (a lock left by a process that died is taken over) and listens on a
// local socket named after that folder; a second start asks it to bring its
// window to the front (and to open the files it was given), and ends.
//
// The socket is a Unix one in the abstract namespace, answered only for
// processes of the same user: no file is left behind by a crash, and no
// network library is loaded before the window's first frame.
//
// The lock is the kernel's (flock) on Pramel.lock: it goes with its process
// however that ends, so a file left by a crash is no lock at all, and taking
// it costs no write to the disk.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString dataFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Claim {
        taken,
        heldByAnother,     // a running instance holds the lock
        folderNotWritable, // a lock left by a crash cannot be removed
    };
    // Takes the lock. A folder that cannot be made or written takes no lock,
    // and the store then tells why; one that holds a lock left by a crash
    // cannot be used though, and says so.
    Claim acquire();
    // Answers second starts from now on. Called once the window is up: until
    // then a second start waits for the answer (activateRunning).
    void listen();

    // Asks the running instance to show its window and to open the files
    // (absolute paths) as titles; false if it did not answer within the
    // time (one still starting is waited for).
    bool activateRunning(const QStringList& files = {}, int timeoutMs = 5000) const;

    QString lockFilePath() const;

Q_SIGNALS:
    // A second start asked for the window.
    void activationRequested();
    // A second start was given files to open.
    void openRequested(const QStringList& files);

private:
    class Request;
    QByteArray socketName() const;
    void release();
    void acceptWaiting();

    QString dataFolder_;
    int lockFd_ = -1;   // holds the lock while open
    int serverFd_ = -1; // the listening socket
    QSocketNotifier* server_ = nullptr;
};
