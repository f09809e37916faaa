#include "base/StatusLine.h"

#include <QMutex>

#include <cstdio>

namespace {
QMutex mutex;
int captureDepth = 0;
QStringList captured;
} // namespace

void printStatus(const QString& line) {
    const QByteArray utf8 = line.toUtf8();
    QMutexLocker lock(&mutex);
    std::fwrite(utf8.constData(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    if (captureDepth > 0)
        captured.append(line);
}

void printStatusLines(const QStringList& lines) {
    if (lines.isEmpty())
        return;
    const QByteArray utf8 = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    QMutexLocker lock(&mutex);
    std::fwrite(utf8.constData(), 1, utf8.size(), stdout);
    std::fflush(stdout);
    if (captureDepth > 0)
        captured.append(lines);
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
