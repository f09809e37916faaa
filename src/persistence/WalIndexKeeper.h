#pragma once

#include <QString>

// Keeps one idle connection open to the store in use, for the life of the
// process (until release()).
//
// Every handler call opens and closes its own connection. When the last
// connection to a WAL store closes, SQLite drops the shared WAL index, and the
// next open has to rebuild it by reading the whole WAL, which costs more than
// most handlers' work. This connection keeps the index alive. It holds no
// transaction, so it neither blocks writers nor checkpoints.
namespace WalIndexKeeper {

// Opens the keeper for this store, closing one kept for another store.
void keep(const QString& path);

// Closes the keeper (at a clean quit, before the last checkpoint).
void release();

} // namespace WalIndexKeeper
