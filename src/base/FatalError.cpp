#include "base/FatalError.h"

#include <cstdio>
#include <cstdlib>

namespace {
FatalErrorHook& hookRef() {
    static FatalErrorHook hook;
    return hook;
}
std::function<void()>& barrierRef() {
    static std::function<void()> barrier;
    return barrier;
}
} // namespace

void fatalError(const QString& source, const QString& message) {
    const QByteArray line = (source + QStringLiteral(": Fatal error: ") + message).toUtf8();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
    std::fflush(stdout);
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
