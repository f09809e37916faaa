#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGHUP and SIGINT into a Qt signal on the GUI thread, so
// that a logout, a closed terminal or a `kill` quits the way Ctrl+Q does,
// letting the word batches still queued reach the store. The handler only
// writes one byte into a socket pair, the one thing safe to do there.
class UnixSignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit UnixSignalWatcher(QObject* parent = nullptr);
    ~UnixSignalWatcher() override;

Q_SIGNALS:
    void received(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};
