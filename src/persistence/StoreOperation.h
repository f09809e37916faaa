#pragma once

#include "base/FatalError.h"
#include "base/StatusLine.h"
#include "domain/Title.h"
#include "persistence/CoreDateSetting.h"
#include "persistence/StoreError.h"
#include "persistence/StoreTransaction.h"
#include "persistence/StoreUnitOfWork.h"

#include <QList>

#include <optional>

// The frame of every handler call: write what the thread held back, open the
// store, do the work (which begins its own transaction), close the store. What a store failure
// leads to is the handler's choice of frame.
namespace StoreOperation {

// A failure ends the program, naming the handler ("Pramel/SaveTextCommandHandler").
template <typename Work> void orFatal(const char* source, Work&& work) {
    StoreUnitOfWork::writeHeldBack();
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
    StoreUnitOfWork::writeHeldBack();
    CoreDateSetting setting;
    StoreConnection& store = setting.persistentContainer();
    try {
        work(store);
    } catch (const StoreError& error) {
        printStatus(prefix + error.message());
    }
}

// The row number of the stored title with this id, or nothing.
inline std::optional<qint64> titleKey(StoreConnection& store, const QUuid& titleId) {
    StoreStatement query(store.handle(), "SELECT pk FROM TestTitleEntity WHERE id = ?");
    query.bind(1, titleId);
    if (!query.next())
        return std::nullopt;
    return query.integer(0);
}

// Every stored title in stored order (ascending index, then order of
// storing), with its row number.
struct StoredTitle {
    qint64 key;
    Title title;
};
inline QList<StoredTitle> storedTitles(StoreConnection& store) {
    QList<StoredTitle> titles;
    StoreStatement query(store.handle(),
                         R"sql(SELECT pk, id, title FROM TestTitleEntity ORDER BY "index", pk)sql");
    while (query.next())
        titles.append({query.integer(0), Title{query.uuid(1), query.text(2)}});
    return titles;
}

} // namespace StoreOperation
