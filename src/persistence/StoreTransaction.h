#pragma once

#include "persistence/StoreConnection.h"
#include "persistence/StoreWriteGate.h"

#include <sqlite3.h>

// One transaction on a connection. A write transaction first passes the
// process's write gate (see StoreWriteGate.h), then takes SQLite's write lock
// at once (BEGIN IMMEDIATE), so a writer of another process makes it wait in
// the busy timeout instead of failing halfway. Rolled back unless commit()
// was reached.
//
// Begun while the connection is inside a transaction already (a handler
// called within a StoreUnitOfWork), it is a savepoint of that transaction:
// commit() releases it into the outer one, and without commit() only its own
// changes are rolled back.
class StoreTransaction {
public:
    enum class Mode { read, write };

    StoreTransaction(StoreConnection& connection, Mode mode)
        : connection_(connection)
        , nested_(sqlite3_get_autocommit(connection.handle()) == 0)
        , writing_(mode == Mode::write && !nested_) {
        if (nested_) {
            connection.exec("SAVEPOINT handler");
            return;
        }
        if (writing_)
            StoreWriteGate::enter();
        try {
            connection.exec(writing_ ? "BEGIN IMMEDIATE" : "BEGIN");
        } catch (...) {
            if (writing_)
                StoreWriteGate::leave();
            throw;
        }
    }
    ~StoreTransaction() {
        if (!done_) {
            try {
                connection_.exec(nested_ ? "ROLLBACK TO handler; RELEASE handler" : "ROLLBACK");
            } catch (...) {
                // A failed statement may already have ended the transaction.
            }
            finish();
        }
    }
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;

    void commit() {
        connection_.exec(nested_ ? "RELEASE handler" : "COMMIT");
        finish();
    }

private:
    void finish() {
        if (writing_ && !done_)
            StoreWriteGate::leave();
        done_ = true;
    }

    StoreConnection& connection_;
    bool nested_;
    bool writing_;
    bool done_ = false;
};
