#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

// The program's status and diagnostic lines go to standard output through
// here, one line per call, so tests can capture them.
void printStatus(const QString& line);

// Prints many status lines with one write and one flush, for callers that
// report one line per record of a large input.
void printStatusLines(const QStringList& lines);

// The lines are written by a thread of their own, in order, and all of them
// by the time the program ends normally. Waits until those handed over so
// far are written (or timeout passes), for an end that skips that.
void flushStatusLines(std::chrono::milliseconds timeout = std::chrono::seconds(2));

// While alive, every status line is also appended to lines().
class StatusLineCapture {
public:
    StatusLineCapture();
    ~StatusLineCapture();
    StatusLineCapture(const StatusLineCapture&) = delete;
    StatusLineCapture& operator=(const StatusLineCapture&) = delete;

    QStringList lines() const;
    bool contains(const QString& line) const { return lines().contains(line); }
    void clear();
};
