#pragma once

#include "persistence/StoreConnection.h"

#include <QString>

#include <memory>

// Opens the store for one handler call. The store is the file
// TestModel.sqlite in the application data folder (~/.local/share/Pramel),
// made with its folder on first use. A store that cannot be opened, or whose
// structure fails SQLite's quick check at its first open in the process,
// ends the program with "Unresolved error ..." naming Pramel/CoreDateSetting.
class CoreDateSetting {
public:
    CoreDateSetting();
    // A store at another place; the worker thread uses the path its batch
    // was handed over with.
    explicit CoreDateSetting(QString storePath);
    ~CoreDateSetting();

    // Opens the store on the first call; later calls return the same connection.
    // On the GUI thread the connection outlives this setting: the next one
    // takes it up again, unless the file at the path is another one by then
    // or forgetKeptConnections() was called meanwhile.
    StoreConnection& persistentContainer();

    // Closes the connection kept on this thread and makes those kept on
    // others be opened anew: after the store's pages were replaced (a
    // restore, which may bring an older structure to bring up to date) and
    // before the last checkpoint at a clean quit.
    static void forgetKeptConnections();

    // Where the store lives now (follows the application name and XDG_DATA_HOME).
    static QString defaultStorePath();

    // What to do about a damaged store, for the messages that report one.
    static QString damagedStoreAdvice();
    static QString damagedMessage(const QString& damage, const QString& path);

    // The start checks the store on a thread of its own, beside the first
    // frame: the first open then leaves the check to checkNow(), which
    // returns the message of a fatal error (empty when the store is sound).
    static void checkLater(const QString& path);
    static QString checkNow(const QString& path);

private:
    QString storePath_;
    std::unique_ptr<StoreConnection> container_;
    StoreConnection* borrowed_ = nullptr; // the thread's kept connection, given back at the end
};
