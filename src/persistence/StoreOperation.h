#pragma once

#include "CoreDateSetting.h"
#include "FatalError.h"
#include "StatusLine.h"
#include "StoreError.h"
#include "StoreTransaction.h"
#include "Title.h"

#include <QList>

// The frame of every handler call: open the store, do the work (which begins
// its own transaction), close the store. What a store failure leads to is
// the handler's choice of frame.
namespace StoreOperation {

// A failure ends the program, naming the handler ("Pramel/SaveTextCommandHandler").
template <typename Work> void orFatal(const char* source, Work&& work) {
    CoreDateSetting setting;
    StoreConnection& store = setting.persistentContainer();
    try {
        work(store);
    } catch (const StoreError& error) {
        fatalError(QString::fromLatin1(source), error.message());
    }
}

// A failure prints prefix + the error and the program goes on; nothing is stored.
template <typename Work> void orPrint(const QString& prefix, Work&& work) {
    CoreDateSetting setting;
    StoreConnection& store = setting.persistentContainer();
    try {
        work(store);
    } catch (const StoreError& error) {
        printStatus(prefix + error.message());
    }
}

// True when a title with this id is stored.
inline bool titleExists(StoreConnection& store, const QUuid& titleId) {
    StoreStatement query(store.handle(), "SELECT 1 FROM TestTitleEntity WHERE id = ?");
    query.bind(1, titleId);
    return query.next();
}

// Every stored title in stored order (ascending index, then order of storing),
// with the text form of its id as the other tables hold it.
struct StoredTitle {
    QByteArray idText;
    Title title;
};
inline QList<StoredTitle> storedTitles(StoreConnection& store) {
    QList<StoredTitle> titles;
    StoreStatement query(store.handle(),
                         R"sql(SELECT id, title FROM TestTitleEntity ORDER BY "index", rowid)sql");
    while (query.next())
        titles.append({query.bytes(0).toByteArray(), Title{query.uuid(0), query.text(1)}});
    return titles;
}

} // namespace StoreOperation
