#pragma once

#include "persistence/StoreConnection.h"

#include <QString>

#include <functional>
#include <memory>

class StoreTransaction;

// Several handler calls stored as one transaction, so that a kill between
// two of them never leaves half of a step behind (a word registered and
// still in its title's split list, say).
//
// While one lives on a thread, every handler call of that thread on the
// same store shares its connection (CoreDateSetting hands it out) and the
// handlers' own transactions become savepoints inside it: each handler keeps
// its one `handle` and its own frame, and nothing is written until commit().
// A unit made while another lives on the thread joins it; the outermost one
// commits. Destroyed without commit(), everything since it began is rolled
// back. A store that cannot begin or commit ends the program, as a handler's
// failure does.
class StoreUnitOfWork {
public:
    StoreUnitOfWork();
    explicit StoreUnitOfWork(const QString& storePath);
    ~StoreUnitOfWork();
    StoreUnitOfWork(const StoreUnitOfWork&) = delete;
    StoreUnitOfWork& operator=(const StoreUnitOfWork&) = delete;

    void commit();

    // The connection of the unit living on this thread for that store, if any.
    static StoreConnection* current(const QString& storePath);

    // Runs action once what this thread has written is committed: at once
    // outside a unit, else after the outermost unit's commit (never, when it
    // rolls back). A background writer handed work here must not look for
    // rows a unit has not committed yet.
    static void whenCommitted(std::function<void()> action);

    // A write this thread holds back (the text being typed, saved once its
    // key is drawn) that has to reach the store before anything else the
    // thread does there: run, then forgotten, at the start of the thread's
    // next handler call or unit. One at a time; a new one replaces it.
    static void holdBack(std::function<void()> write);
    // Runs the held-back write now, if there is one and no unit is open.
    static void writeHeldBack();

    struct Open;

private:
    std::unique_ptr<Open> open_; // null when joining an outer unit
};
