#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QLocalServer;
class QLockFile;

// One Pramel per store. The first instance holds a lock file in the data
// folder (a lock left by a process that died is taken over) and listens on a
// local socket named after that folder; a second start asks it to bring its
// window to the front (and to open the files it was given), and ends.
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

    // Asks the running instance to show its window and to open the files
    // (absolute paths) as titles; false if it did not answer.
    bool activateRunning(const QStringList& files = {}, int timeoutMs = 2000) const;

    QString lockFilePath() const;

Q_SIGNALS:
    // A second start asked for the window.
    void activationRequested();
    // A second start was given files to open.
    void openRequested(const QStringList& files);

private:
    QString serverName() const;
    bool heldByALiveProcess() const;
    void listen();

    QString dataFolder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};
