#include "base/StatusLine.h"

#include <QMutex>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <utility>

namespace {
QMutex mutex;
int captureDepth = 0;
QStringList captured;

// Lines reach standard output from a thread of their own, in order: a key in
// the split list prints its code, and a write and flush on the GUI thread
// cost the key a system call, and all of it while a slow reader (a terminal,
// a full pipe) held the output back.
class Writer {
public:
    void append(const QByteArray& bytes) {
        std::unique_lock lock(mutex_);
        if (direct_) { // the program ends: no thread to hand them to
            lock.unlock();
            write(bytes);
            return;
        }
        if (!started_) {
            started_ = true;
            std::thread([this] { run(); }).detach();
        }
        pending_.append(bytes);
        wake_.notify_all();
    }

    // Waits until every line handed over is written, or timeout passes.
    void flush(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        written_.wait_for(lock, timeout, [this] { return pending_.isEmpty() && !writing_; });
    }

    // At exit: what is waiting is written, and later lines (from the
    // destructors of other objects that live as long as the program) at once.
    void endThread() {
        flush(std::chrono::seconds(5));
        std::lock_guard lock(mutex_);
        direct_ = true;
    }

private:
    static void write(const QByteArray& bytes) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        std::fflush(stdout);
    }

    void run() {
        std::unique_lock lock(mutex_);
        while (true) {
            wake_.wait(lock, [this] { return !pending_.isEmpty(); });
            const QByteArray bytes = std::exchange(pending_, {});
            writing_ = true;
            lock.unlock();
            write(bytes);
            lock.lock();
            writing_ = false;
            written_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable written_;
    QByteArray pending_;
    bool writing_ = false;
    bool started_ = false;
    bool direct_ = false;
};

// Never destroyed: lines may come from any object's destructor at exit.
Writer& writer() {
    static Writer* const instance = [] {
        auto* made = new Writer;
        std::atexit([] { writer().endThread(); });
        return made;
    }();
    return *instance;
}
} // namespace

void printStatus(const QString& line) {
    QByteArray utf8 = line.toUtf8();
    utf8.append('\n');
    QMutexLocker lock(&mutex);
    writer().append(utf8);
    if (captureDepth > 0)
        captured.append(line);
}

void printStatusLines(const QStringList& lines) {
    if (lines.isEmpty())
        return;
    const QByteArray utf8 = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    QMutexLocker lock(&mutex);
    writer().append(utf8);
    if (captureDepth > 0)
        captured.append(lines);
}

void flushStatusLines(std::chrono::milliseconds timeout) {
    writer().flush(timeout);
}

StatusLineCapture::StatusLineCapture() {
    QMutexLocker lock(&mutex);
    if (captureDepth++ == 0)
        captured.clear();
}

StatusLineCapture::~StatusLineCapture() {
    QMutexLocker lock(&mutex);
    --captureDepth;
}

QStringList StatusLineCapture::lines() const {
    QMutexLocker lock(&mutex);
    return captured;
}

void StatusLineCapture::clear() {
    QMutexLocker lock(&mutex);
    captured.clear();
}
