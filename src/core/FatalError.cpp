#include "FatalError.h"

#include <cstdio>
#include <cstdlib>

namespace {
FatalErrorHook& hookRef() {
    static FatalErrorHook hook;
    return hook;
}
} // namespace

void fatalError(const QString& source, const QString& message) {
    const QByteArray line = (source + QStringLiteral(": Fatal error: ") + message).toUtf8();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
    std::fflush(stdout);
    if (auto hook = hookRef())
        hook(source, message);
    std::_Exit(EXIT_FAILURE);
}

FatalErrorHook setFatalErrorHook(FatalErrorHook hook) {
    FatalErrorHook previous = std::move(hookRef());
    hookRef() = std::move(hook);
    return previous;
}
