#pragma once

#include <QString>

struct sqlite3;

// Folds the WAL into the store file on a thread of its own.
//
// SQLite's automatic checkpoint runs inside the COMMIT that crosses its
// threshold: with a large batch going in, that is a 50 ms stall of whichever
// write happens to cross it, the window's own included. Connections turn the
// automatic checkpoint off, report their WAL size after every commit, and a
// WAL past the threshold is checkpointed here (PASSIVE: writers go on).
namespace WalCheckpointer {

// Installs the size report on a connection (from its open).
void watch(sqlite3* db, const QString& path);

// Waits until no checkpoint runs, and stops starting new ones until resume()
// (the last checkpoint at quit must have the store to itself).
void pause();
void resume();

} // namespace WalCheckpointer
