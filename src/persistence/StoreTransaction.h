#pragma once

#include "StoreConnection.h"

// One transaction on a connection. A write transaction takes the write lock
// at once (BEGIN IMMEDIATE), so a second writer waits in the busy timeout
// instead of failing halfway. Rolled back unless commit() was reached.
class StoreTransaction {
public:
    enum class Mode { read, write };

    StoreTransaction(StoreConnection& connection, Mode mode)
        : connection(connection) {
        connection.exec(mode == Mode::write ? "BEGIN IMMEDIATE" : "BEGIN");
    }
    ~StoreTransaction() {
        if (!done) {
            try {
                connection.exec("ROLLBACK");
            } catch (...) {
                // A failed statement may already have ended the transaction.
            }
        }
    }
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;

    void commit() {
        connection.exec("COMMIT");
        done = true;
    }

private:
    StoreConnection& connection;
    bool done = false;
};
