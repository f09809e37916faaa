#include "app/BusyLog.h"

#include <QByteArray>
#include <QTimer>

#include <memory>

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

namespace {

double monotonicMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

constexpr double reportedStretchMs = 8;

} // namespace

void startBusyLogFromEnvironment(QObject* parent) {
    const QByteArray file = qgetenv("PRAMEL_BUSY_LOG");
    if (file.isEmpty())
        return;
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    auto* timer = new QTimer(parent);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(1);
    auto last = std::make_shared<double>(monotonicMs());
    QObject::connect(timer, &QTimer::timeout, timer, [fd, last] {
        const double now = monotonicMs();
        if (now - *last > reportedStretchMs) {
            const QByteArray line = QByteArray::number(now, 'f', 3) + ' ' +
                                    QByteArray::number(now - *last, 'f', 3) + '\n';
            [[maybe_unused]] const ssize_t written = ::write(fd, line.constData(), line.size());
        }
        *last = now;
    });
    QObject::connect(timer, &QObject::destroyed, [fd] { ::close(fd); });
    timer->start();
}
