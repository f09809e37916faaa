#pragma once

#include "persistence/StoreConnection.h"
#include "persistence/StoreWriteGate.h"

// One transaction on a connection. A write transaction first passes the
// process's write gate (see StoreWriteGate.h), then takes SQLite's write lock
// at once (BEGIN IMMEDIATE), so a writer of another process makes it wait in
// the busy timeout instead of failing halfway. Rolled back unless commit()
// was reached.
class StoreTransaction {
public:
    enum class Mode { read, write };

    StoreTransaction(StoreConnection& connection, Mode mode)
        : connection(connection)
        , writing(mode == Mode::write) {
        if (writing)
            StoreWriteGate::enter();
        try {
            connection.exec(writing ? "BEGIN IMMEDIATE" : "BEGIN");
        } catch (...) {
            if (writing)
                StoreWriteGate::leave();
            throw;
        }
    }
    ~StoreTransaction() {
        if (!done) {
            try {
                connection.exec("ROLLBACK");
            } catch (...) {
                // A failed statement may already have ended the transaction.
            }
            finish();
        }
    }
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;

    void commit() {
        connection.exec("COMMIT");
        finish();
    }

private:
    void finish() {
        if (writing && !done)
            StoreWriteGate::leave();
        done = true;
    }

    StoreConnection& connection;
    bool writing;
    bool done = false;
};
