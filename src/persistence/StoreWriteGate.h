#pragma once

// One writer at a time inside this process, with the main thread first.
//
// SQLite lets one connection write at a time and makes the others wait in
// their busy handler, which polls: a background batch that commits chunk
// after chunk could take the lock again before a waiting main-thread write
// ever saw it free. Every write transaction of this process passes this gate
// first. A background writer (the word-batch worker) steps aside whenever a
// foreground write is waiting, so the window never waits for more than the
// one chunk in progress.
namespace StoreWriteGate {

void enter();
void leave();

// Whether a foreground write waits at the gate: a background writer holding
// it ends its transaction early.
bool foregroundWaiting();

// Marks the calling thread as a background writer for its lifetime.
void markBackgroundThread();
bool isBackgroundThread();

} // namespace StoreWriteGate
