#pragma once

#include <QString>

#include <functional>

// The one way the program stops on a failure it cannot go on from (a store
// that cannot be opened, a failed read or write of it). The message goes to
// standard error together with the source ("Pramel/SaveTextCommandHandler");
// an installed hook runs next (the GUI shows a dialog there); then the process
// exits with a non-zero status. SIGTERM, SIGHUP or SIGINT while the hook runs
// end the process at once, with that status.
[[noreturn]] void fatalError(const QString& source, const QString& message);

using FatalErrorHook = std::function<void(const QString& source, const QString& message)>;

// Work that has to be finished before a fatal exit (the word batches still
// queued); runs after the hook. Not run on the thread that does that work.
void setFatalExitBarrier(std::function<void()> barrier);

// Installs the hook that runs before the process exits; returns the previous one.
// A hook may also throw to keep the process alive (tests use that).
FatalErrorHook setFatalErrorHook(FatalErrorHook hook);
