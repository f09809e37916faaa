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
        : connection_(connection)
        , writing_(mode == Mode::write) {
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
                connection_.exec("ROLLBACK");
            } catch (...) {
                // A failed statement may already have ended the transaction.
            }
            finish();
        }
    }
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;

    void commit() {
        connection_.exec("COMMIT");
        finish();
    }

private:
    void finish() {
        if (writing_ && !done_)
            StoreWriteGate::leave();
        done_ = true;
    }

    StoreConnection& connection_;
    bool writing_;
    bool done_ = false;
};
