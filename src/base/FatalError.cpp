#include "base/FatalError.h"

#include "base/StatusLine.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include <unistd.h>

namespace {
FatalErrorHook& hookRef() {
    static FatalErrorHook hook;
    return hook;
}
std::function<void()>& barrierRef() {
    static std::function<void()> barrier;
    return barrier;
}

constexpr int endingSignals[] = {SIGTERM, SIGHUP, SIGINT};

void endAtOnce(int) {
    ::_exit(EXIT_FAILURE);
}

// While the hook runs (the GUI's dialog waits for the user), a logout, a
// closed terminal or a `kill` ends the process at once, with the failure's
// status: the way out that waits for the word batches is no use now. A
// hook that throws brings the handlers of before back.
class EndOnSignal {
public:
    EndOnSignal() {
        struct sigaction action = {};
        action.sa_handler = endAtOnce;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < std::size(endingSignals); ++i)
            ::sigaction(endingSignals[i], &action, &previous_[i]);
    }
    ~EndOnSignal() {
        for (size_t i = 0; i < std::size(endingSignals); ++i)
            ::sigaction(endingSignals[i], &previous_[i], nullptr);
    }
    EndOnSignal(const EndOnSignal&) = delete;
    EndOnSignal& operator=(const EndOnSignal&) = delete;

private:
    struct sigaction previous_[std::size(endingSignals)] = {};
};

} // namespace

void fatalError(const QString& source, const QString& message) {
    const QByteArray line = (source + QStringLiteral(": Fatal error: ") + message).toUtf8();
    flushStatusLines(); // the lines before it first, as they were printed
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
    std::fflush(stdout);
    const EndOnSignal endOnSignal;
    if (auto hook = hookRef())
        hook(source, message);
    if (auto barrier = barrierRef())
        barrier();
    std::_Exit(EXIT_FAILURE);
}

FatalErrorHook setFatalErrorHook(FatalErrorHook hook) {
    FatalErrorHook previous = std::move(hookRef());
    hookRef() = std::move(hook);
    return previous;
}

void setFatalExitBarrier(std::function<void()> barrier) {
    barrierRef() = std::move(barrier);
}
